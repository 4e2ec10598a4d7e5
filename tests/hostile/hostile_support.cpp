// Scratch files, decoding runs and comparisons for the hostile-input tests.

#include "hostile_support.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <random>
#include <stdexcept>

#include "decoding_run.h"
#include "file_bytes.h"
#include "recording_writer.h"
#include "system_clipboard.h"
#include "test_clipboard.h"

namespace {

constexpr std::size_t LabelWidth = 31;

std::atomic<int> scratchCounter{0};

// Test cases run as parallel processes: the name needs more than a counter.
const std::string& processTag() {
    static const std::string tag = std::to_string(std::random_device{}());
    return tag;
}

void writeFile(const std::string& path, const std::string& bytes, const char* mode) {
    std::FILE* file = std::fopen(path.c_str(), mode);
    if (file == nullptr) {
        throw std::runtime_error("cannot create " + path);
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !written) {
        throw std::runtime_error("cannot write " + path);
    }
}

std::string printable(const std::string& text, std::size_t from) {
    std::string shown;
    for (std::size_t i = from; i < text.size() && i < from + 60; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c < 0x7F) {
            shown += static_cast<char>(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
            shown += escaped;
        }
    }
    return shown;
}

}  // namespace

ScratchFile::ScratchFile() {
    const auto name =
        "vexa-hostile-" + processTag() + "-" + std::to_string(scratchCounter++) + ".log";
    path_ = (std::filesystem::temp_directory_path() / name).string();
}

ScratchFile::~ScratchFile() {
    std::remove(path_.c_str());
}

void ScratchFile::write(const std::string& bytes) {
    writeFile(path_, bytes, "wb");
}

void ScratchFile::append(const std::string& bytes) {
    writeFile(path_, bytes, "ab");
}

std::string decodeStream(std::FILE* file, const char* prefix) {
    RecordingWriter writer(prefix, false);
    const RunOutcome outcome = decodeFile(file, RunSettings(), writer);
    EXPECT_FALSE(outcome.clipboardUnread || outcome.readFailed) << "a file is read whole";
    return writer.text;
}

std::string decodeFile(const std::string& path, const char* prefix) {
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (file == nullptr) {
        throw std::runtime_error("cannot open " + path);
    }
    std::string text = decodeStream(file, prefix);
    std::fclose(file);
    return text;
}

std::string decodeBytes(const std::string& bytes, const char* prefix) {
    ScratchFile log;
    log.write(bytes);
    return decodeFile(log.path(), prefix);
}

ClipboardRun decodeClipboard(const std::string& text, const char* prefix) {
    if (!setTestClipboard(MemoryClipboardState::HasText, text)) {
        throw std::runtime_error("cannot fill the clipboard");
    }
    RecordingWriter writer(prefix, false);
    ClipboardRun run;
    SystemClipboard clipboard;
    run.unread = ::decodeClipboard(clipboard, RunSettings(), writer).clipboardUnread;
    run.text = writer.text;
    run.leftOpen = testClipboardLeftOpen();
    return run;
}

std::string bufferLines(std::initializer_list<std::string> lines, const std::string& prefix) {
    std::string text;
    for (const std::string& line : lines) {
        text += prefix + line + "\r\n";
    }
    return text;
}

std::string reportLine(const std::string& label, const std::string& value) {
    std::string line = label;
    line.resize(std::max(LabelWidth, label.size()), ' ');
    return line + ": " + value;
}

::testing::AssertionResult sameText(const std::string& actual, const std::string& expected) {
    if (actual == expected) {
        return ::testing::AssertionSuccess();
    }
    const auto mismatch =
        std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
    const auto offset = static_cast<std::size_t>(mismatch.first - actual.begin());
    const std::size_t from = offset < 20 ? 0 : offset - 20;
    return ::testing::AssertionFailure()
           << "texts differ at offset " << offset << " (lengths " << actual.size() << " and "
           << expected.size() << ")\n  actual:   ..." << printable(actual, from)
           << "\n  expected: ..." << printable(expected, from);
}

std::string hexPattern(std::size_t length) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text(length, '0');
    for (std::size_t i = 0; i < length; ++i) {
        text[i] = digits[i % 16];
    }
    return text;
}

// Test helpers common to all decoder tests.

#include "test_support.h"

#include <atomic>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <utility>

#include "file_bytes.h"
#include "system_clipboard.h"

#ifndef _WIN32
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace {

std::atomic<int> fileCounter{0};

// Test cases run as parallel processes, so the name needs more than a count.
const std::string& processTag() {
    static const std::string tag = std::to_string(std::random_device{}());
    return tag;
}

}  // namespace

TempFile::TempFile(const std::string& bytes) {
    const auto name = "vexa-test-" + processTag() + "-" + std::to_string(fileCounter++) + ".log";
    path_ = (std::filesystem::temp_directory_path() / name).string();
    std::FILE* file = std::fopen(path_.c_str(), "wb");
    if (file == nullptr) {
        throw std::runtime_error("cannot create " + path_);
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !written) {
        throw std::runtime_error("cannot write " + path_);
    }
}

TempFile::~TempFile() {
    std::remove(path_.c_str());
}

std::FILE* TempFile::openText() const {
    return std::fopen(path_.c_str(), "rt");
}

std::FILE* openCharacterDevice() {
#ifdef _WIN32
    return std::fopen("NUL", "rt");
#else
    // The terminal side of a fresh pseudo terminal; the master is leaked on
    // purpose so the terminal stays usable until the process ends.
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        return nullptr;
    }
    const char* name = ptsname(master);
    return name != nullptr ? std::fopen(name, "r") : nullptr;
#endif
}

#ifndef _WIN32
std::FILE* openCharacterDeviceHolding(const std::string& text) {
    // The master is leaked, as above; a raw terminal passes the bytes as they are.
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        return nullptr;
    }
    const char* name = ptsname(master);
    std::FILE* device = name != nullptr ? std::fopen(name, "r") : nullptr;
    termios settings;
    if (device == nullptr || tcgetattr(fileno(device), &settings) != 0) {
        return device;
    }
    cfmakeraw(&settings);
    tcsetattr(fileno(device), TCSANOW, &settings);
    if (write(master, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
        std::fclose(device);
        return nullptr;
    }
    return device;
}
#endif

std::string decodeLog(const std::string& bytes, const char* prefix) {
    TempFile log(bytes);
    std::FILE* file = log.openText();
    if (file == nullptr) {
        throw std::runtime_error("cannot open " + log.path());
    }
    RecordingWriter writer(prefix);
    decodeFile(file, RunSettings(), writer);
    std::fclose(file);
    return writer.text;
}

std::string decodeText(std::FILE* file, RunOutcome* outcome) {
    RecordingWriter writer;
    SystemClipboard clipboard;
    const RunOutcome run = file != nullptr ? decodeFile(file, RunSettings(), writer)
                                           : decodeClipboard(clipboard, RunSettings(), writer);
    if (outcome != nullptr) {
        *outcome = run;
    }
    return writer.text;
}

std::string crlfLines(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

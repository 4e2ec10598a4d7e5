// Output checks shared by the fuzz targets.

#include "output_checks.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "line_catalogue.h"

namespace {

constexpr std::size_t LabelWidth = 31;

const char* const Prefixes[] = {
    "",
    "vexa ",
    "",
    ("modem-log-of-a-very-long-prefix-that-is-longer-than-one-hundred-and-twenty-seven-characters-"
     "so-no-formatting-limit-can-hold-a-line-with-it "),
};

bool startsWith(const std::string& text, const char* start) {
    return text.compare(0, std::strlen(start), start) == 0;
}

bool endsWith(const std::string& text, const char* end) {
    const std::size_t length = std::strlen(end);
    return text.size() >= length && text.compare(text.size() - length, length, end) == 0;
}

bool isUnrecognizedKey(const std::string& line) {
    const char start[] = "unrecognized key ";
    if (!startsWith(line, start) || !endsWith(line, "!")) {
        return false;
    }
    const std::string digits = line.substr(sizeof start - 1, line.size() - sizeof start);
    if (digits.empty() || digits.size() > 8 || (digits.size() > 1 && digits[0] == '0')) {
        return false;
    }
    return digits.find_first_not_of("0123456789abcdef") == std::string::npos;
}

bool isUnrecognizedFormat(const std::string& line) {
    return (startsWith(line, "unrecognized format 'DIAG <2A4D3263 ") ||
            startsWith(line, "unrecognized format 'DIAG<2A4D3263 ")) &&
           endsWith(line, "'!");
}

// The catalogue entry whose padded label starts the line, or -1.
int reportEntry(const std::string& line) {
    for (int entry = 0; entry < LineCount; ++entry) {
        const char* label = lineLabel(entry);
        if (label == nullptr || !startsWith(line, label)) {
            continue;
        }
        const std::size_t length = std::strlen(label);
        if (line.size() < LabelWidth + 2 || line.find_first_not_of(' ', length) != LabelWidth ||
            line.compare(LabelWidth, 2, ": ") != 0) {
            continue;
        }
        return entry;
    }
    return -1;
}

}  // namespace

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "output check failed: %s\n", what);
        std::abort();
    }
}

const char* fuzzPrefix(unsigned selector) {
    return Prefixes[selector % 4];
}

CheckedText::CheckedText(const char* prefix) {
    TextSettings settings;
    settings.style.prefix = prefix;
    settings.showsReadFailed = true;
    writer_ = makeTextWriter(pending_, settings);
}

void CheckedText::message(std::string_view message) {
    writer_->message(message);
}

void CheckedText::block(const ReportBlock& block) {
    require(block.line > 0, "a block has its line");
    ++blocks_;
}

void CheckedText::report(const DecodedReport& report) {
    require(report.complete() || report.line > 0, "only a report with a block is cut off");
    require((blocks_ == 0) == (report.line == 0), "a report has blocks from its line");
    writer_->report(report);
    reports += std::to_string(report.line) + (report.complete() ? ":" : "~") + pending_.text;
    text += pending_.text;
    pending_.text.clear();
    blocks_ = 0;
}

std::vector<std::string> linesOf(const std::string& text, const char* prefix) {
    const std::size_t length = text.size();
    require(std::strlen(text.c_str()) == length, "no NUL inside the text");
    // Searched within the known length: strstr would measure the rest of the
    // text for every line, which makes big outputs quadratic under ASan.
    const std::string_view all(text);
    const std::string_view expectedPrefix(prefix);
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < length) {
        const std::size_t end = all.find("\r\n", start);
        require(end != std::string_view::npos, "every line ends with CR LF");
        const std::string_view line = all.substr(start, end - start);
        require(line.substr(0, expectedPrefix.size()) == expectedPrefix,
                "every line begins with the prefix");
        const std::string_view body = line.substr(expectedPrefix.size());
        require(body.find_first_of("\r\n") == std::string_view::npos, "no CR or LF inside a line");
        lines.emplace_back(body);
        start = end + 2;
    }
    return lines;
}

void checkScanOutput(const std::vector<std::string>& lines) {
    const auto noData = std::string("no recognizable data found!");
    bool reportStarted = false;
    int lastEntry = -1;
    for (const std::string& line : lines) {
        if (line == noData) {
            require(lines.size() == 1, "no-data message only alone");
            continue;
        }
        if (isUnrecognizedKey(line) || isUnrecognizedFormat(line)) {
            require(!reportStarted, "messages come before report lines");
            continue;
        }
        const int entry = reportEntry(line);
        require(entry >= 0, "a line is a known message or a labelled report line");
        require(entry > lastEntry, "report lines in catalogue order, each at most once");
        require(lineColumns(entry) == 1 || line.find('/', LabelWidth + 2) != std::string::npos,
                "a two-value line holds its separator");
        reportStarted = true;
        lastEntry = entry;
    }
}

MemoryLog::MemoryLog(const std::uint8_t* data, std::size_t size)
    : bytes_(data, data + size), stream_(nullptr) {
    bytes_.push_back('\0');  // a valid buffer even for an empty log
    stream_ = fmemopen(bytes_.data(), size, "r");
    require(stream_ != nullptr, "memory stream opens");
}

MemoryLog::~MemoryLog() {
    std::fclose(stream_);
}

std::ptrdiff_t PieceSource::readSome(char* buffer, std::size_t size) {
    if (at_ == size_ && failsAtEnd_) {
        return -1;
    }
    std::size_t count = std::min({size, size_ - at_, largest_});
    if (trickle_) {
        count = std::min(count, 1 + at_ % 7);
    }
    std::memcpy(buffer, data_ + at_, count);
    at_ += count;
    return static_cast<std::ptrdiff_t>(count);
}

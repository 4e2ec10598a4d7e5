// A decoded report as values, for front ends that look into it rather than
// print its text (decodeReports, decoder.h): each report line's values with
// the raw key and value texts that fed them, the report's messages and the
// input line where it began.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct RawToken {
    std::string key;    // the token's text before the "="
    std::string value;  // the value text after it
};

struct ReportLine {
    int entry = 0;  // catalogue index
    const char* label = nullptr;
    int valueCount = 1;  // 2 for a line that shows a pair around "/"
    // What each value shows; no value where the slot holds the not-available
    // marker (the report prints "NA" there). A copied "NA" is a value.
    std::optional<std::string> values[2];
    // The token that last wrote each slot; for the lines derived from the
    // bit-field word, the token of key 0x18.
    std::optional<RawToken> raw[2];
};

struct DecodedReport {
    int number = 0;  // 1 for the first report of the source
    // The physical input line (1-based: line feeds counted from the start
    // of the file's text, or of the clipboard text) of the report's first
    // block; 0 when the report has no block.
    std::size_t line = 0;
    // 1 when the clipboard could not be read (messages then holds why).
    int result = 0;
    std::vector<std::string> messages;  // in the order they arose
    std::vector<ReportLine> lines;      // in report order
};

enum class ReportScope { First, Every };

using ReportHandler = std::function<void(const DecodedReport&)>;

// A decoded report as values, for front ends that look into it rather than
// print its text (decodeReports, decoder.h): each report line's values with
// the raw key and value texts that fed them, the report's messages, the
// input line where it began, whether its "OK" arrived, and every token of
// every block, those that fed no line included.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct RawToken {
    std::string key;    // the token's text before the "="
    std::string value;  // the value text after it
    // The value text is not clean hexadecimal (hex digits after an optional
    // 0x): the value shown is what the conversion made of it.
    bool malformed = false;
};

// One token of a block, as the scan read it.
struct BlockToken {
    std::string key;  // the text before the "=" (the whole token without one)
    // The value text; none for a token of an unknown key that holds no "=".
    std::optional<std::string> value;
    bool unknown = false;  // the catalogue does not know the key: passed over
    bool malformed = false;
};

// An input line that began with a marker (or held one, with loose markers).
struct ReportBlock {
    std::size_t line = 0;  // physical input line, as DecodedReport::line
    std::vector<BlockToken> tokens;
    // The text from the token that broke the format to the end of the input
    // line, which the scan dropped; none when the whole line was read.
    std::optional<std::string> unparsed;
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
    // False when the input ended after the report's blocks but before its
    // "OK"; true for every other report.
    bool complete = true;
    std::vector<std::string> messages;  // in the order they arose
    std::vector<ReportLine> lines;      // in report order
    std::vector<ReportBlock> blocks;    // in input order
};

enum class ReportScope { First, Every };

using ReportHandler = std::function<void(const DecodedReport&)>;

// The values a decoding run hands out (report_writer.h): each report line
// with the values it shows and the raw tokens that fed them, every token of
// every block, those that fed no line included, and where each report began
// and whether its "OK" arrived. The run's messages are plain texts.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// One key=value token, as the scan read it.
struct ReportToken {
    std::string key;  // the text before the "=" (the whole token without one)
    // The text after the "="; none for a token of an unknown key that holds
    // no "=".
    std::optional<std::string> value;
    bool unknown = false;  // the catalogue does not know the key: passed over
    // The value is not clean hexadecimal (hex digits after an optional 0x):
    // the value shown is what the conversion made of it.
    bool malformed = false;
};

// An input line that began with a marker (or held one, with loose markers).
struct ReportBlock {
    std::size_t line = 0;  // physical input line, as DecodedReport::line
    std::vector<ReportToken> tokens;
    // The text from the token that broke the format to the end of the input
    // line, which the scan dropped; none when the whole line was read.
    std::optional<std::string> unparsed;
};

struct ReportLine {
    int entry = 0;  // catalogue index
    const char* label = nullptr;
    int valueCount = 1;  // 2 for a line that shows a pair around "/"
    // What each value shows; no value where the slot holds the not-available
    // marker (the text prints "NA" there). A copied "NA" is a value.
    std::optional<std::string> values[2];
    // The token that last wrote each slot; for the lines derived from the
    // bit-field word, the token of key 0x18.
    std::optional<ReportToken> raw[2];
    // The value came from a malformed token (ReportToken::malformed): line
    // noise, not a reading. Kept whether or not the writer wants tokens.
    bool malformed[2] = {false, false};
};

// Why a report ended before its "OK" arrived.
enum class CutReason {
    None,         // the report is complete
    InputEnded,   // the input ended first
    TooLong,      // it held more tokens than any real report can
    TimedOut,     // a port's answer fell silent for longer than the timeout
    ErrorAnswer,  // the modem answered ERROR
    Interrupted,  // a signal (Ctrl+C, SIGTERM) stopped the reading
    NextCall,     // the next call's blocks began: its OK was lost
};

struct DecodedReport {
    int number = 0;  // 1 for the first report of the source
    // The physical input line (1-based: line feeds counted from the start
    // of the file's text, or of the clipboard text) of the report's first
    // block; 0 when the report has no block, or when its writer asked for
    // no line numbers.
    std::size_t line = 0;
    // Why the report ended before its "OK" arrived; None when it did.
    CutReason cutReason = CutReason::None;
    // Reading the input failed: this report holds what came before, and is
    // the run's last.
    bool readFailed = false;
    std::vector<ReportLine> lines;  // in report order

    bool complete() const { return cutReason == CutReason::None; }
};

enum class ReportScope { First, Every };

// Decoding runs a front end can look into: each report's lines as values,
// with the raw key and value texts that fed them, its messages and the input
// line where it began; and runs that go on past the first report to decode
// every report of a log.
//
// decodeReports reads its source exactly as decodeReport does (a file that
// is a character device, or none, means the clipboard) and appends the same
// text to the message buffer; its first report's text is decodeReport's,
// byte for byte. The caller empties the buffer before the call as for
// decodeReport; onReport runs each time a report's text is complete and may
// write the buffer out and empty it.
//
// Every report begins with fresh value slots. With ReportScope::Every the
// scan goes on after the "OK" line that ended a report: the next input line
// with a marker begins the next report. Input after the last report that
// holds no block gives nothing. An input without any block gives one report
// without a line, whose message is "no recognizable data found!"; a
// clipboard that cannot be read gives one report holding its one message.
#pragma once

#include <cstddef>
#include <cstdio>
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

// Returns 1 when the clipboard could not be read, otherwise 0.
int decodeReports(std::FILE* file, ReportScope scope, const ReportHandler& onReport);

// Decoding one input and printing it in the form the options ask for: the
// window's text; every report under a heading of its own (--all); or JSON
// (--json), one document or with --all an array of them, each on one line
// while watching the clipboard.
#pragma once

#include <cstdio>
#include <string>

#include "options.h"

struct Decoding {
    int result = 0;           // the decoder's: 1 when the clipboard could not be read
    bool readFailed = false;  // the input stream's error indicator was set
    int readError = 0;        // errno right after the run
};

// input null: the clipboard; source names the input in JSON documents. The
// window's text is printed only when the input was read without an error.
// Standard output is flushed before the return.
Decoding decodeAndPrint(std::FILE* input, const ConsoleOptions& options, const std::string& source);

// A line of our own among the report lines: the line prefix in front, CR LF
// behind.
void writeOwnLine(const std::string& text);

// One decoding run over one input of vexa-decode -- a log, standard input,
// a device, a port's answer or the clipboard -- printed as the options ask.
#pragma once

#include <cstdio>
#include <string>

#include "options.h"
#include "report_output.h"
#include "streams.h"

struct InputOutcome {
    int result = 0;            // the decoder's: 1 when the clipboard could not be read
    bool reportFound = false;  // a report with a block (known only when reports are handed out)
    std::string readFailure;   // why reading failed; empty when it did not
};

// file null and stream null: the clipboard. stream, when given, is read
// instead of file's own buffer. The window's text is printed only when the
// input was read without an error.
InputOutcome decodeInput(std::FILE* file, InputStream* stream, const std::string& name,
                         const ConsoleOptions& options, ReportPrinter& printer);

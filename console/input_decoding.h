// One decoding run over one input of vexa-decode -- a log, standard input,
// a device, a port's answer or the clipboard -- handed to the writer.
#pragma once

#include <cstdio>
#include <string>

#include "options.h"
#include "output_writer.h"
#include "streams.h"

struct InputOutcome {
    bool clipboardUnread = false;  // the clipboard could not be read
    bool reportFound = false;      // a report held a block
    std::string readFailure;       // why reading failed; empty when it did not
};

// file null and stream null: the clipboard. stream, when given, is read
// instead of file's own buffer.
InputOutcome decodeInput(std::FILE* file, InputStream* stream, const std::string& name,
                         const ConsoleOptions& options, OutputWriter& writer);

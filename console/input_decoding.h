// One decoding run over one input of vexa-decode -- a log, standard input,
// a device, a port's answer or the clipboard -- handed to the writer.
//
// Logs, standard input and devices are read as the window reads a log,
// unless --loose asks for reading them as they come; a port's answer is
// always read as it comes. Where the window's reading drops text, the
// outcome says so (dropWarning). Every form but the window's own text
// bounds a report's size (decoding_run.h).
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "options.h"
#include "output_writer.h"
#include "streams.h"
#include "window_drops.h"

struct InputOutcome {
    bool clipboardUnread = false;       // the clipboard could not be read
    bool reportFound = false;           // a report held a block
    std::string readFailure;            // why reading failed; empty when it did not
    WindowDrops drops;                  // what the window's reading dropped
    bool inputDamaged = false;          // gzip data damaged or cut short (--loose)
    const char* compression = nullptr;  // "xz", ...: data this program does not read
};

// file null and stream null: the clipboard. stream, when given, is read
// instead of file's own buffer; asPort reads it as a port's answer.
InputOutcome decodeInput(std::FILE* file, InputStream* stream, const std::string& name,
                         const ConsoleOptions& options, OutputWriter& writer, bool asPort = false);

// What to say on standard error about the drops: a line per place, naming
// it and what --loose does there; empty when there were none.
std::vector<std::string> dropWarnings(const WindowDrops& drops);

// One decoding run over one input of vexa-decode -- a log, standard input,
// a device, a port's answer or the clipboard -- handed to the writer.
//
// Logs, standard input and devices are read as the window reads a log,
// unless --loose asks for reading them as they come; a port's answer is
// always read as it comes. Where the window's reading drops text, the
// outcome says so (dropWarning). Every writer that keeps a report whole
// bounds its size (output_writer.h).
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "decoding_run.h"
#include "options.h"
#include "output_writer.h"
#include "streams.h"
#include "window_drops.h"

// What the run told (decoding_run.h), and why reading failed; empty when
// it did not.
struct InputOutcome : RunOutcome {
    std::string readFailure;
};

// What one decoding reads: a live stream, else a file, else the clipboard.
struct ConsoleInput {
    std::string name;               // "-", "clipboard", a file's or a port's name
    InputStream* stream = nullptr;  // a pipe, a terminal, a device or a port's answer
    std::FILE* file = nullptr;      // a regular file, read in blocks of the decoder's own
    bool asPort = false;            // the stream is a port's answer
};

InputOutcome decodeInput(const ConsoleInput& input, const ConsoleOptions& options,
                         OutputWriter& writer);

// What to say on standard error about the drops: a line per place, naming
// it and what --loose does there; empty when there were none.
std::vector<std::string> dropWarnings(const WindowDrops& drops);

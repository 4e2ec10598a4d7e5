// vexa-decode --watch: decodes the clipboard now and again after every change,
// each decoding headed by "=== clipboard N at HH:MM:SS ===" (with --json only
// the documents or rows), until interrupted (Ctrl+C, or a termination
// signal) or until --watch-count decodings are done. Returns the exit code:
// 1 when there is no clipboard to watch at the start.
#pragma once

#include "options.h"
#include "output_writer.h"

int watchClipboard(const ConsoleOptions& options, OutputWriter& writer);

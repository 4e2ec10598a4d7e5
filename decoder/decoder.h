// The report decoder's entry points: one decoding run, seen two ways.
//
// A run reads modem diagnostic text, either from an open text stream or
// (with no stream) from the clipboard, and appends everything it has to say
// -- scan messages, the aligned report lines, the no-data message -- to the
// message buffer (message_buffer.h) as lines. It never clears the buffer and
// never shows anything itself: the caller empties the buffer first and shows
// or writes its text afterwards.
//
// The stream is read onward from its current position and is neither
// rewound nor closed. A stream that is a character device (a console, a
// serial port, the null device) counts as no stream: the clipboard is read,
// as the window program wants it; a front end that reads devices chooses
// its own settings (decoding_run.h).
// Streams are read with the semantics of the Windows text mode on every
// platform, so a log decodes to the same bytes everywhere.
//
// Everything the run builds lives in storage owned by the run and released
// when it returns; only the message buffer outlives it.
#pragma once

#include <cstdio>

#include "report_model.h"

// The first report of the source. Returns 1 when reading the clipboard
// failed (one message line has been appended and no report), otherwise 0.
int decodeReport(std::FILE* file);

// The same run, its reports also handed out as values (report_model.h):
// onReport runs each time a report's text is complete (at its "OK", or at
// the end of the input), and may write the buffer out and empty it. Its first report's text is
// decodeReport's, byte for byte. With ReportScope::Every the run goes on after the "OK" line that
// ended a report: the next input line with a marker begins the next report,
// and every report begins with fresh value slots. Input after the last
// report that holds no block gives nothing. An input without any block
// gives one report without a line, whose message is "no recognizable data
// found!"; a clipboard that cannot be read gives one report holding its one
// message. Returns what decodeReport would.
int decodeReports(std::FILE* file, ReportScope scope, const ReportHandler& onReport);

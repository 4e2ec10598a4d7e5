// The report decoder's one operation: a decoding run.
//
// decodeReport reads modem diagnostic text, either from an open text stream
// or (with no stream) from the clipboard, and appends everything it has to
// say -- scan messages, the aligned report lines, the no-data message -- to
// the message buffer (message_buffer.h) as lines. It never clears the buffer
// and never shows anything itself: the caller empties the buffer first and
// shows its text afterwards.
//
// The stream is read onward from its current position and is neither
// rewound nor closed. A stream that is a character device (a console, a
// serial port, the null device) counts as no stream: the clipboard is read.
// Streams are read with the semantics of the Windows text mode on every
// platform, so a log decodes to the same bytes everywhere.
//
// Everything the run builds lives in storage owned by the run and released
// when it returns; only the message buffer outlives it.
#pragma once

#include <cstdio>

// Returns 1 when reading the clipboard failed (one message line has been
// appended and no report), otherwise 0.
int decodeReport(std::FILE* file);

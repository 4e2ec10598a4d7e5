// The message buffer: the one growable 8-bit text that receives every line a
// decoding run produces, and the line prefix put in front of each line.
//
// A front end creates the buffer once at start-up and releases it at the
// end; it empties it before each decoding run and then shows or writes its
// whole text. Only
// appendLine writes into it. Every line is the line prefix, the line's text
// and the line end, CR LF unless a front end chose another. The text only grows between emptyings;
// emptying keeps the storage. The storage block lives on the platform's heap (the process heap on
// Windows) and may move when it grows, so callers must not keep messageBufferText() across an
// appendLine.
#pragma once

#include <cstddef>

// Creates the buffer: 2048 zero bytes, an empty text. Returns false when the
// storage cannot be had (the platform's error code is then set). Calling it
// again while the buffer exists empties it.
bool createMessageBuffer();
void releaseMessageBuffer();

// Makes the text empty (its first byte becomes the terminator).
void emptyMessageBuffer();

// Appends line prefix, text and line end. Running out of memory here is
// fatal (stopOutOfMemory), as nothing could show a report it cannot hold.
void appendLine(const char* text);

// Ends the program for want of memory: runs the front end's handler first,
// if one is set, then writes a line to standard error and aborts. The
// handler only leaves what others share, such as the clipboard viewer chain.
[[noreturn]] void stopOutOfMemory();
void setOutOfMemoryHandler(void (*handler)());

// The buffer's text, zero-terminated, and its length in bytes. Valid until
// the next appendLine or releaseMessageBuffer.
const char* messageBufferText();
std::size_t messageBufferLength();

// Capacity of the storage block in bytes (for tests and diagnostics).
std::size_t messageBufferCapacity();

// The line prefix, fixed at start-up. setLinePrefix takes the full prefix as
// it is to be written, including the one space that follows a configured
// prefix; the text is copied. The default is the empty text.
void setLinePrefix(const char* prefix);
const char* linePrefix();

// The line end, fixed at start-up: CR LF, the window's, by default; the
// console may choose LF. The text is copied.
void setLineEnd(const char* end);
const char* lineEnd();

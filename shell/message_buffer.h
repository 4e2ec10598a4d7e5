// The message buffer: the one growable 8-bit text that holds the report the
// window shows, written by the text writer (output_writer.h) through
// MessageBufferSink.
//
// Start-up creates the buffer and the end of the program releases it; each
// decoding of the window empties it first, and the report view then shows
// its whole text. Only appendText writes into it. The text
// only grows between emptyings, and emptying keeps the storage. The storage
// is one block of the process heap and may move when it grows, so callers
// must not keep messageBufferText() across an append.
#pragma once

#include <cstddef>
#include <string_view>

#include "output_sink.h"

// Creates the buffer: 2048 zero bytes, an empty text. Returns false when the
// storage cannot be had (the last error is then set). Calling it again while
// the buffer exists empties it.
bool createMessageBuffer();
void releaseMessageBuffer();

// Makes the text empty (its first byte becomes the terminator).
void emptyMessageBuffer();

// Appends bytes as they are. Running out of memory here is fatal
// (stopOutOfMemory), as nothing could show a report it cannot hold.
void appendText(std::string_view bytes);

// The buffer as a writer's sink.
class MessageBufferSink : public OutputSink {
  public:
    void write(std::string_view bytes) override { appendText(bytes); }
};

// Ends the program for want of memory: runs the handler first, if one is
// set, then writes a line to standard error and aborts. The handler only
// leaves what others share, such as the clipboard viewer chain.
[[noreturn]] void stopOutOfMemory();
void setOutOfMemoryHandler(void (*handler)());

// The buffer's text, zero-terminated, and its length in bytes. Valid until
// the next append or releaseMessageBuffer.
const char* messageBufferText();
std::size_t messageBufferLength();

// Capacity of the storage block in bytes (for tests and diagnostics).
std::size_t messageBufferCapacity();

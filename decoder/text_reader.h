// Platform contact: reading a log stream in chunks, the way the Windows text
// mode reads it, so that a log decodes to the same bytes on every platform.
//
// On Windows this is the C runtime's own fgets on a stream the caller opened
// in text mode. Elsewhere the same translation is done here, whatever mode
// the stream was opened in: CR LF arrives as LF (a lone CR stays), and a
// 0x1A byte ends the input for good.
#pragma once

#include <cstddef>
#include <cstdio>

// True for a console, a serial port or another character device.
bool isCharacterDevice(std::FILE* file);

// fgets semantics: reads at most size - 1 characters, stopping after a line
// feed, and terminates them. Returns null, with nothing read, at end of file
// or on a read error. NUL bytes are stored like any other character.
char* readChunk(char* buffer, int size, std::FILE* file);

// The block size a ChunkReader (chunk_reader.h) may read this stream in, or
// 0 to read it chunk by chunk: a pipe or a device would keep a block read
// waiting for data a live modem has not sent yet, and on Windows a block
// read would bypass the C runtime's own translation.
std::size_t readAheadSize(std::FILE* file);

// Platform contact: a log stream's bytes as they are stored, for a decoding
// run to read in blocks (chunk_reader.h), which does the Windows text mode's
// translation itself on every platform. A stream opened in text mode on
// Windows is switched to binary for this; the caller still closes it.
// Each platform has its file (file_bytes_win32.cpp, file_bytes_posix.cpp).
#pragma once

#include <cstddef>
#include <cstdio>

#include "byte_source.h"
#include "decoding_run.h"

// True for a console, a serial port or another character device.
bool isCharacterDevice(std::FILE* file);

// Reads from the stream's current position. A regular file is read through
// the stream; anything else (a pipe, a terminal) straight from its
// descriptor, each read taking what has arrived, so the stream's own buffer
// must not have been read from.
class FileBytes : public ByteSource {
  public:
    explicit FileBytes(std::FILE* file);

    std::ptrdiff_t readSome(char* buffer, std::size_t size) override;

  private:
    std::FILE* file_;
    int descriptor_ = -1;  // read directly; -1 to read through the stream
};

// Decodes the stream from its current position, read through FileBytes.
inline RunOutcome decodeFile(std::FILE* file, const RunSettings& settings, ReportWriter& writer) {
    FileBytes bytes(file);
    return decodeReports(bytes, settings, writer);
}

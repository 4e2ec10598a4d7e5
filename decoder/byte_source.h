// The bytes a decoding run reads (decoding_run.h), in blocks as large as
// what has arrived: a log (platform/file_bytes.h), a pipe, a terminal, a
// serial port. Front ends implement it with their platform's own reads, so
// that nothing waits for data a modem has not sent; tests with memory.
#pragma once

#include <cstddef>

#include "report_values.h"

class ByteSource {
  public:
    virtual ~ByteSource() = default;

    // Reads at most size bytes into buffer, waiting only until at least one
    // has arrived. Returns how many were read; 0 at the end of the input, or
    // -1 on a read error (nothing more is read after either).
    virtual std::ptrdiff_t readSome(char* buffer, std::size_t size) = 0;

    // Once the input has ended: why, for a report it cut short.
    virtual CutReason endReason() const { return CutReason::InputEnded; }
};

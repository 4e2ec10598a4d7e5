// A byte source read through a buffer, a byte or a few at a time, for the
// readers of --loose (loose_reader.h, gzip_source.h, utf16_source.h): they
// look at the first bytes of an input before they know how to read it.
#pragma once

#include <cstddef>
#include <memory>

#include "byte_source.h"

class ByteInput {
  public:
    ByteInput(ByteSource& source, std::size_t blockSize);
    ByteInput(const ByteInput&) = delete;
    ByteInput& operator=(const ByteInput&) = delete;

    // Waits until count bytes are buffered or the input has ended, and
    // returns how many are buffered (count at most what a block holds).
    std::size_t peek(std::size_t count);
    // Reads once more (waiting for one byte at least) when nothing is
    // buffered; false at the end of the input or on a read error.
    bool fill();
    const char* data() const { return block_.get() + begin_; }
    std::size_t available() const { return end_ - begin_; }
    void consume(std::size_t count) { begin_ += count; }
    // The next byte, or -1 at the end of the input or on a read error.
    int get() {
        if (begin_ == end_ && !fill()) {
            return -1;
        }
        return static_cast<unsigned char>(block_[begin_++]);
    }

    bool failed() const { return failed_; }
    ByteSource& source() const { return source_; }

  private:
    bool readMore();

    ByteSource& source_;
    std::size_t blockSize_;
    std::unique_ptr<char[]> block_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool ended_ = false;
    bool failed_ = false;
};

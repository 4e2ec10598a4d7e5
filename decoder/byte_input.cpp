// The buffered byte input: unread bytes move to the front before a read.

#include "byte_input.h"

#include <algorithm>
#include <cstring>

ByteInput::ByteInput(ByteSource& source, std::size_t blockSize)
    : source_(source),
      blockSize_(std::max<std::size_t>(blockSize, 64)),
      block_(new char[blockSize_]) {}

bool ByteInput::readMore() {
    if (ended_) {
        return false;
    }
    if (begin_ > 0) {
        std::memmove(block_.get(), block_.get() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    const std::ptrdiff_t got = source_.readSome(block_.get() + end_, blockSize_ - end_);
    if (got <= 0) {
        ended_ = true;
        failed_ = got < 0;
        return false;
    }
    end_ += static_cast<std::size_t>(got);
    return true;
}

bool ByteInput::fill() {
    return available() > 0 || readMore();
}

std::size_t ByteInput::peek(std::size_t count) {
    count = std::min(count, blockSize_);
    while (available() < count && readMore()) {
    }
    return available();
}

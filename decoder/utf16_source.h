// UTF-16 text read as the 8-bit text the decoder reads, for --loose: a
// capture a Windows program saved as "Unicode". A character up to U+00FF
// becomes the byte of that number, any other its UTF-8 bytes (as the
// browser page hands pasted text to the decoder); a lone surrogate becomes
// U+FFFD, and an odd last byte is dropped.
#pragma once

#include <cstddef>

#include "byte_input.h"
#include "byte_source.h"

class Utf16Source : public ByteSource {
  public:
    // input is positioned just after the byte order mark.
    Utf16Source(ByteInput& input, bool bigEndian);

    std::ptrdiff_t readSome(char* buffer, std::size_t size) override;
    CutReason endReason() const override { return input_.source().endReason(); }

  private:
    int peekUnit();

    ByteInput& input_;
    bool bigEndian_;
    // The bytes of a character that did not fit the last buffer.
    char pending_[4];
    std::size_t pendingCount_ = 0;
    std::size_t pendingAt_ = 0;
};

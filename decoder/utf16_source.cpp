// Turning UTF-16 code units into 8-bit text, a character at a time.

#include "utf16_source.h"

#include <cstdint>

namespace {

constexpr std::uint32_t Replacement = 0xFFFD;

// The character's bytes: one for U+0000..U+00FF, else its UTF-8 form.
std::size_t encode(std::uint32_t c, char* out) {
    if (c < 0x100) {
        out[0] = static_cast<char>(c);
        return 1;
    }
    if (c < 0x800) {
        out[0] = static_cast<char>(0xC0 | (c >> 6));
        out[1] = static_cast<char>(0x80 | (c & 0x3F));
        return 2;
    }
    if (c < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (c >> 12));
        out[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (c & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (c >> 18));
    out[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (c & 0x3F));
    return 4;
}

}  // namespace

Utf16Source::Utf16Source(ByteInput& input, bool bigEndian) : input_(input), bigEndian_(bigEndian) {}

// The next code unit, left unread, or -1 at the end (an odd last byte
// included).
int Utf16Source::peekUnit() {
    if (input_.peek(2) < 2) {
        return -1;
    }
    const auto first = static_cast<unsigned char>(input_.data()[0]);
    const auto second = static_cast<unsigned char>(input_.data()[1]);
    return bigEndian_ ? (first << 8) | second : (second << 8) | first;
}

std::ptrdiff_t Utf16Source::readSome(char* buffer, std::size_t size) {
    std::size_t produced = 0;
    while (produced < size) {
        if (pendingAt_ < pendingCount_) {
            buffer[produced++] = pending_[pendingAt_++];
            continue;
        }
        // What has arrived goes out before a read that may wait.
        if (produced > 0 && input_.available() < 2) {
            break;
        }
        const int first = peekUnit();
        if (first < 0) {
            input_.consume(input_.available());
            break;
        }
        input_.consume(2);
        std::uint32_t c = static_cast<std::uint32_t>(first);
        if (c >= 0xD800 && c < 0xDC00) {
            const int second = peekUnit();
            if (second >= 0xDC00 && second < 0xE000) {
                input_.consume(2);
                c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<std::uint32_t>(second) - 0xDC00);
            } else {
                c = Replacement;
            }
        } else if (c >= 0xDC00 && c < 0xE000) {
            c = Replacement;
        }
        pendingCount_ = encode(c, pending_);
        pendingAt_ = 0;
    }
    if (produced > 0) {
        return static_cast<std::ptrdiff_t>(produced);
    }
    return input_.failed() ? -1 : 0;
}

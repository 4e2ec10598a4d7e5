// Where the window's way of reading a log dropped text that a whole reading
// (--loose) would have decoded: a front end says so once per input, naming
// the first place.
#pragma once

#include <cstddef>

enum class DropKind {
    None,
    EndOfText,  // a 0x1A byte ended the text with more after it
    LongLine,   // a block's line was cut after 511 characters
    NulByte,    // a NUL byte hid the rest of a line
    Encoded,    // the input is gzip data or UTF-16 text, read as bytes
};

struct WindowDrops {
    DropKind first = DropKind::None;
    std::size_t line = 0;  // the physical line (from 1) of the first drop
    std::size_t count = 0;

    void note(DropKind kind, std::size_t atLine) {
        if (count++ == 0) {
            first = kind;
            line = atLine;
        }
    }
};

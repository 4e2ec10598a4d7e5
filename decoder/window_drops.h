// Where the window's way of reading a log dropped text that a whole reading
// (--loose) would have decoded: a front end says so once per place, for the
// first MaxPlaces places of an input, and counts the rest.
#pragma once

#include <cstddef>
#include <vector>

enum class DropKind {
    None,
    EndOfText,      // a 0x1A byte ended the text with more after it
    LongLine,       // a block's line was cut after 511 characters
    NulByte,        // a NUL byte hid the rest of a line
    Encoded,        // the input is gzip data or UTF-16 text, read as bytes
    MergedCall,     // a block set a key the report held: a lost OK merged two calls
    MarkerInside,   // a marker after other text on its line (a time stamp, colour codes)
    DamagedMarker,  // a block whose marker a damaged byte or odd spacing hid
};

struct DropPlace {
    DropKind kind;
    std::size_t line;  // physical, from 1
};

struct WindowDrops {
    static constexpr std::size_t MaxPlaces = 20;

    DropKind first = DropKind::None;
    std::size_t line = 0;  // the physical line (from 1) of the first drop
    std::size_t count = 0;
    std::vector<DropPlace> places;  // the first MaxPlaces, one per kind and line
    // The input is data of this compressor (capture_repairs.h), not text.
    const char* compression = nullptr;

    void note(DropKind kind, std::size_t atLine) {
        if (count == 0) {
            first = kind;
            line = atLine;
        }
        if (!places.empty() && places.back().kind == kind && places.back().line == atLine) {
            return;
        }
        ++count;
        if (places.size() < MaxPlaces) {
            places.push_back({kind, atLine});
        }
    }
};

// The decoder's reading of a hexadecimal text as an unsigned 32-bit number,
// used for every key and every value.
//
// It follows strtoul with base 16 but always at 32 bits (unsigned long is 64
// bits wide on some platforms): leading white space, one optional sign, an
// optional 0x/0X, then hex digits up to the first other character. No digits
// give 0; a number above 0xFFFFFFFF gives 0xFFFFFFFF whatever the sign;
// otherwise "-" negates modulo 2^32.
#pragma once

#include <cstdint>

struct HexNumber {
    std::uint32_t value;
    // Just past the last character used; the text's start when no digit was
    // found (so "zz" and "-" both stop at their first character).
    const char* end;
};

HexNumber parseHexNumber(const char* text);

// True when text is hex digits and nothing else, after an optional 0x or
// 0X: a text the conversion reads whole, without a sign or white space.
bool isCleanHexNumber(const char* text);

// The same set isspace has in the C locale; no byte from 0x80 up.
inline bool isSpaceCharacter(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

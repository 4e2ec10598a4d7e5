// Unsigned 32-bit hexadecimal conversion with strtoul's rules.

#include "hex_number.h"

namespace {

// Every byte's digit value, -1 for a byte that is no hex digit: one load
// where three range tests were, for every key and value of a report.
struct DigitValues {
    signed char of[256];
    constexpr DigitValues() : of() {
        for (int c = 0; c < 256; ++c) {
            of[c] = static_cast<signed char>(c >= '0' && c <= '9'   ? c - '0'
                                             : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                             : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                                    : -1);
        }
    }
};
constexpr DigitValues HexDigits;

int hexDigitValue(char c) {
    return HexDigits.of[static_cast<unsigned char>(c)];
}

// Digits from p on, the value before them given; overflow saturates.
HexNumber readHexDigits(const char* p, std::uint32_t value, bool negative) {
    bool overflow = false;
    for (int digit = hexDigitValue(*p); digit >= 0; digit = hexDigitValue(*++p)) {
        if (value > 0x0FFFFFFFu) {
            overflow = true;
        }
        value = (value << 4) | static_cast<std::uint32_t>(digit);
    }
    if (overflow) {
        return HexNumber{0xFFFFFFFFu, p};
    }
    return HexNumber{negative ? 0u - value : value, p};
}

}  // namespace

HexNumber parseHexNumber(const char* text) {
    // Keys and values nearly always begin with a digit that is not the 0 of
    // a 0x: no white space, sign or prefix to look for.
    const int first = hexDigitValue(text[0]);
    if (first > 0 || (first == 0 && text[1] != 'x' && text[1] != 'X')) {
        return readHexDigits(text + 1, static_cast<std::uint32_t>(first), false);
    }
    const char* p = text;
    while (isSpaceCharacter(*p)) {
        ++p;
    }
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    // "0x" counts as a prefix only when a digit follows; "0xz" reads as 0
    // and stops at the x, as strtoul does.
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && hexDigitValue(p[2]) >= 0) {
        p += 2;
    }
    if (hexDigitValue(*p) < 0) {
        return HexNumber{0, text};
    }
    return readHexDigits(p, 0, negative);
}

bool isCleanHexNumber(const char* text) {
    const char* p = text;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && hexDigitValue(p[2]) >= 0) {
        p += 2;
    }
    if (hexDigitValue(*p) < 0) {
        return false;
    }
    while (hexDigitValue(*p) >= 0) {
        ++p;
    }
    return *p == '\0';
}

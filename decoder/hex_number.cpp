// Unsigned 32-bit hexadecimal conversion with strtoul's rules.

#include "hex_number.h"

namespace {

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

}  // namespace

HexNumber parseHexNumber(const char* text) {
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
    std::uint32_t value = 0;
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

// Decimal and hexadecimal digits of an unsigned number.

#include "number_text.h"

namespace {

// The base is a constant in each copy, so its division is a multiplication
// or a shift.
template <std::uint32_t Base>
char* writeDigits(char* text, std::uint32_t n) {
    // Digits come lowest first, so they are gathered backwards.
    char digits[MaxNumberDigits];
    std::size_t count = 0;
    do {
        digits[count++] = "0123456789abcdef"[n % Base];
        n /= Base;
    } while (n != 0);
    while (count > 0) {
        *text++ = digits[--count];
    }
    *text = '\0';
    return text;
}

}  // namespace

char* writeNumber(char* text, std::uint32_t n, std::uint32_t base) {
    return base == 16 ? writeDigits<16>(text, n) : writeDigits<10>(text, n);
}

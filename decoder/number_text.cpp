// Decimal and hexadecimal digits of an unsigned number.

#include "number_text.h"

namespace {

// The base is a constant in each copy, so its division is a multiplication
// or a shift; the digits are counted first and written in place, last first.
template <std::uint32_t Base>
char* writeDigits(char* text, std::uint32_t n) {
    std::size_t count = 1;
    for (std::uint32_t rest = n / Base; rest != 0; rest /= Base) {
        ++count;
    }
    char* end = text + count;
    *end = '\0';
    char* at = end;
    do {
        *--at = "0123456789abcdef"[n % Base];
        n /= Base;
    } while (n != 0);
    return end;
}

}  // namespace

char* writeNumber(char* text, std::uint32_t n, std::uint32_t base) {
    return base == 16 ? writeDigits<16>(text, n) : writeDigits<10>(text, n);
}

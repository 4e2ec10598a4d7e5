// Decimal and hexadecimal digits of an unsigned number.

#include "number_text.h"

char* writeNumber(char* text, std::uint32_t n, std::uint32_t base) {
    // Digits come lowest first, so they are gathered backwards.
    char digits[MaxNumberDigits];
    std::size_t count = 0;
    do {
        digits[count++] = "0123456789abcdef"[n % base];
        n /= base;
    } while (n != 0);
    while (count > 0) {
        *text++ = digits[--count];
    }
    *text = '\0';
    return text;
}

// Writing into room a writer has already sized: each returns the end of
// what it wrote.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

inline char* putBytes(char* to, std::string_view bytes) {
    if (!bytes.empty()) {
        std::memcpy(to, bytes.data(), bytes.size());  // bytes may be null when empty
    }
    return to + bytes.size();
}

// n in digits of base (10 or 16, upper case): at most 20 bytes.
inline char* putDigits(char* to, std::size_t n, unsigned base = 10) {
    char digits[24];
    std::size_t at = sizeof digits;
    do {
        digits[--at] = "0123456789ABCDEF"[n % base];
        n /= base;
    } while (n != 0);
    return putBytes(to, std::string_view(digits + at, sizeof digits - at));
}

// Writes an unsigned 32-bit number as decimal or lower-case hexadecimal
// digits, as printf's %lu and %lx do, into the caller's buffer: the report's
// numbers without the C library's whole formatter behind them.
#pragma once

#include <cstddef>
#include <cstdint>

// The most digits a number takes (4294967295), without the terminator.
constexpr std::size_t MaxNumberDigits = 10;

// Writes n in base 10 or 16 at text and a zero after it, and returns where
// that zero stands; text needs room for the digits and the zero, at most
// MaxNumberDigits + 1 characters.
char* writeNumber(char* text, std::uint32_t n, std::uint32_t base);

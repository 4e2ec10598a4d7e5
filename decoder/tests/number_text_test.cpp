#include "number_text.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

struct NumberCase {
    std::uint32_t n;
    std::uint32_t base;
    const char* expected;
};

const NumberCase NumberCases[] = {
    {0, 10, "0"},
    {9, 10, "9"},
    {10, 10, "10"},
    {4294967295u, 10, "4294967295"},
    {0, 16, "0"},
    {15, 16, "f"},
    {16, 16, "10"},
    {0xffffffffu, 16, "ffffffff"},
    {1000000000u, 10, "1000000000"},
};

TEST(NumberText, DigitsAndTheZeroAfterThem) {
    for (const NumberCase& c : NumberCases) {
        SCOPED_TRACE(c.expected);
        char text[MaxNumberDigits + 2];
        std::memset(text, 'x', sizeof text);
        const char* end = writeNumber(text, c.n, c.base);
        EXPECT_STREQ(c.expected, text);
        EXPECT_EQ(text + std::strlen(c.expected), end);
        EXPECT_EQ('x', text[MaxNumberDigits + 1]);
    }
}

}  // namespace

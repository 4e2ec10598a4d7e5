#include "hex_number.h"

#include <gtest/gtest.h>

namespace {

struct HexCase {
    const char* text;
    std::uint32_t value;
    int consumed;  // characters up to where the conversion stopped
};

const HexCase HexCases[] = {
    {"0", 0, 1},
    {"1A", 0x1A, 2},
    {"1a", 0x1A, 2},
    {"FFFFFFFF", 0xFFFFFFFF, 8},
    {"100000000", 0xFFFFFFFF, 9},
    {"123456789", 0xFFFFFFFF, 9},
    {"-100000000", 0xFFFFFFFF, 10},
    {"-1", 0xFFFFFFFF, 2},
    {"-10", 0xFFFFFFF0, 3},
    {"+7", 7, 2},
    {"0x1C20", 0x1C20, 6},
    {"0X1c20", 0x1C20, 6},
    {"00000000000000001", 1, 17},
    {"1Fq", 0x1F, 2},
    {"12=34", 0x12, 2},
    {" \t\v\f\r\n12", 0x12, 8},
    {"zz", 0, 0},
    {"", 0, 0},
    {"=5", 0, 0},
    {"-", 0, 0},
    {"+", 0, 0},
    {"-z", 0, 0},
    {"  z", 0, 0},
    {"0x", 0, 1},
    {"0xg", 0, 1},
    {"0x=1", 0, 1},
    {"--1", 0, 0},
    {"\xA0"
     "1",
     0, 0},
};

TEST(HexNumber, ConvertsLikeStrtoulAt32Bits) {
    for (const HexCase& c : HexCases) {
        SCOPED_TRACE(c.text);
        const HexNumber n = parseHexNumber(c.text);
        EXPECT_EQ(c.value, n.value);
        EXPECT_EQ(c.consumed, n.end - c.text);
    }
}

TEST(HexNumber, CleanTexts) {
    const struct {
        const char* text;
        bool clean;
    } cases[] = {
        {"0", true},   {"1a2B", true}, {"0x1C", true}, {"0X1c", true},        {"", false},
        {"zz", false}, {"1q", false},  {"-1", false},  {"+1", false},         {" 1", false},
        {"0x", false}, {"0xg", false}, {"1 ", false},  {"00000000001", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.clean, isCleanHexNumber(c.text));
    }
}

}  // namespace

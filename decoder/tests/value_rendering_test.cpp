#include "value_rendering.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

namespace {

// Stands for "the slot holds the not-available marker itself".
const char Marker[] = "<marker>";

class ValueRendering : public ::testing::Test {
  protected:
    ValueRendering() { resetValueSlots(slots); }

    void render(std::uint32_t key, const char* text) {
        const auto location = findKeyEntry(key);
        ASSERT_TRUE(location.has_value()) << std::hex << key;
        renderValue(slots, location->entry, location->column, key, text);
    }

    std::string shown(int entry, int column) const {
        return slotIsEmpty(slots, entry, column) ? Marker : slots.text[entry][column];
    }

    std::string shownForKey(std::uint32_t key) const {
        const auto location = findKeyEntry(key);
        return shown(location->entry, location->column);
    }

    ValueSlotTable slots;
};

struct ValueCase {
    const char* name;
    std::uint32_t key;
    const char* text;
    const char* expected;
};

const ValueCase DecimalCases[] = {
    {"TX power at its limit", 0x11, "1F", "31"},
    {"TX power above its limit", 0x11, "20", "NA"},
    {"RX power at its limit", 0x10, "2F", "47"},
    {"RX power above its limit", 0x10, "30", "NA"},
    {"noise at its limit", 0x12, "64", "100"},
    {"noise above its limit", 0x12, "65", "NA"},
    {"frame size at its limit", 0x41, "400", "1024"},
    {"frame size above its limit", 0x41, "401", "NA"},
    {"round trip delay at its limit", 0x17, "FFF", "4095"},
    {"far echo delay above its limit", 0x16, "40", "NA"},
    {"last RX rate at its limit", 0x35, "FA00", "64000"},
    {"initial RX rate above its limit", 0x27, "FA01", "NA"},
    {"chars lost at its limit", 0x54, "FFFF", "65535"},
    {"chars lost above its limit", 0x55, "10000", "NA"},
    {"no limit, largest number", 0x52, "FFFFFFFF", "4294967295"},
    {"no limit, too large", 0x52, "123456789", "4294967295"},
    {"no limit, minus one", 0x53, "-1", "4294967295"},
    {"minus one above a limit", 0x61, "-1", "NA"},
    {"no digits", 0x13, "zz", "0"},
    {"digits then junk", 0x13, "1Fq", "31"},
    {"with 0x", 0x22, "0x1C20", "7200"},
    {"leading zeros dropped", 0x30, "0005", "5"},
};

TEST_F(ValueRendering, DecimalLimits) {
    for (const ValueCase& c : DecimalCases) {
        SCOPED_TRACE(c.name);
        render(c.key, c.text);
        EXPECT_EQ(c.expected, shownForKey(c.key));
    }
}

const ValueCase CodeCases[] = {
    {"call setup", 0x01, "5", "Voice detected"},
    {"call setup without a text", 0x01, "0C", Marker},
    {"TX negotiation", 0x20, "0C", "V.34"},
    {"RX negotiation without a text", 0x21, "99", Marker},
    {"termination", 0x60, "3E", "No Modulationin Common"},
    {"flow control", 0x51, "1", "DC1/DC3"},
    {"code above 16 bits", 0x02, "10001", Marker},
    {"protocol", 0x40, "1", "V.42 LAPM"},
    {"protocol high code", 0x40, "80", "MNP10T"},
    {"protocol without a text", 0x40, "7", Marker},
    {"compression", 0x44, "1", "V.42bis"},
    {"compression without a text", 0x44, "7", Marker},
    {"revision", 0x00, "10", "1.0"},
    {"revision, lower-case digit", 0x00, "2B", "2.b"},
    {"revision, high bits ignored", 0x00, "123", "2.3"},
    {"revision, largest", 0x00, "FF", "f.f"},
    {"verbatim unchanged", 0x04, "0x1a2B", "0x1a2B"},
    {"verbatim, not hexadecimal", 0x05, "C1:zz", "C1:zz"},
    {"manufacturer", 0xC3, "12AB", "12AB"},
};

TEST_F(ValueRendering, CodesRevisionAndVerbatim) {
    for (const ValueCase& c : CodeCases) {
        SCOPED_TRACE(c.name);
        resetValueSlots(slots);
        render(c.key, c.text);
        EXPECT_EQ(c.expected, shownForKey(c.key));
    }
}

TEST_F(ValueRendering, ProtocolAndCompressionShareOneLine) {
    render(0x40, "80");
    EXPECT_EQ("MNP10T", shown(23, 0));
    EXPECT_EQ(Marker, shown(23, 1));
    render(0x44, "80");
    EXPECT_EQ("MNP5T", shown(23, 1));
}

// A limit breach gives a copied "NA" (a value); a missing code the marker.
TEST_F(ValueRendering, CopiedNAIsNotTheMarker) {
    render(0x11, "20");
    ASSERT_FALSE(slotIsEmpty(slots, 5, 0));
    EXPECT_STREQ("NA", slots.text[5][0]);
}

TEST_F(ValueRendering, VerbatimLongValueIsCopiedWhole) {
    const std::string value(700, '7');
    render(0x04, value.c_str());
    EXPECT_EQ(value, shown(4, 0));
    EXPECT_NE(value.c_str(), slots.text[4][0]);
}

TEST_F(ValueRendering, LastValueWins) {
    render(0x01, "1");
    render(0x01, "0C");
    EXPECT_EQ(Marker, shownForKey(0x01));

    render(0x12, "10");
    render(0x12, "FFF");
    EXPECT_EQ("NA", shownForKey(0x12));

    render(0x85, "12AB");
    render(0xF0, "77");
    EXPECT_EQ("77", shown(35, 0));
}

TEST_F(ValueRendering, MarkerKeysChangeNothing) {
    renderValue(slots, 0, 1, 0xFFFF, "1");
    renderValue(slots, 11, 0, 0xFFFE, "1");
    for (int entry = 0; entry < KeyEntryCount; ++entry) {
        EXPECT_EQ(Marker, shown(entry, 0));
        EXPECT_EQ(Marker, shown(entry, 1));
    }
}

struct BitFieldCase {
    const char* word;
    const char* powerDrop;
    const char* callerOffset;
    const char* answerOffset;
    const char* callerPreemphasis;
    const char* answerPreemphasis;
    const char* asymmetry;
};

const BitFieldCase BitFieldCases[] = {
    {"0", "OFF", "0.00", "0.00", "0", "0", "OFF"},
    {"619630FA", "ON", "-0.50", "+5.00", "3", "6", "OFF"},
    {"3FFFE400", "OFF", "NA", "0.00", "14", "NA", "ON"},
    {"FFFFFFFF", "ON", "NA", "NA", "NA", "NA", "ON"},
};

TEST_F(ValueRendering, BitFieldWordFillsTheDerivedLines) {
    for (const BitFieldCase& c : BitFieldCases) {
        SCOPED_TRACE(c.word);
        render(0x18, c.word);
        EXPECT_EQ(c.powerDrop, shown(11, 0));
        EXPECT_EQ(c.callerOffset, shown(12, 0));
        EXPECT_EQ(c.answerOffset, shown(12, 1));
        EXPECT_EQ(c.callerPreemphasis, shown(13, 0));
        EXPECT_EQ(c.answerPreemphasis, shown(13, 1));
        EXPECT_EQ(c.asymmetry, shown(14, 0));
        // The word's own entry and the unused columns stay empty.
        EXPECT_EQ(Marker, shown(10, 0));
        EXPECT_EQ(Marker, shown(11, 1));
        EXPECT_EQ(Marker, shown(14, 1));
    }
}

struct OffsetCase {
    std::uint32_t field;
    const char* expected;
};

const OffsetCase OffsetCases[] = {
    {0, "0.00"},    {1, "+0.02"},   {50, "+1.00"},    {256, "+5.12"}, {511, "+10.22"},
    {512, "-0.00"}, {513, "-0.02"}, {1022, "-10.20"}, {1023, "NA"},
};

TEST_F(ValueRendering, FrequencyOffsetFields) {
    for (const OffsetCase& c : OffsetCases) {
        SCOPED_TRACE(c.field);
        char word[16];
        std::snprintf(word, sizeof word, "%lx", static_cast<unsigned long>(c.field));
        render(0x18, word);
        EXPECT_EQ(c.expected, shown(12, 1));
        std::snprintf(word, sizeof word, "%lx", static_cast<unsigned long>(c.field << 20));
        render(0x18, word);
        EXPECT_EQ(c.expected, shown(12, 0));
    }
}

TEST_F(ValueRendering, SecondBitFieldWordReplacesAllSix) {
    render(0x18, "FFFFFFFF");
    render(0x18, "0");
    EXPECT_EQ("OFF", shown(11, 0));
    EXPECT_EQ("0.00", shown(12, 0));
    EXPECT_EQ("0.00", shown(12, 1));
    EXPECT_EQ("0", shown(13, 0));
    EXPECT_EQ("0", shown(13, 1));
    EXPECT_EQ("OFF", shown(14, 0));
}

}  // namespace

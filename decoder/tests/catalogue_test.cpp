#include "catalogue.h"

#include <gtest/gtest.h>

#include <map>

namespace {

struct FindCase {
    const char* name;
    std::uint32_t key;
    int entry;  // -1: not found
    int column;
};

const FindCase FindCases[] = {
    {"bit-field word", 0x18, 10, 0},
    {"manufacturer range start", 0x80, 35, 0},
    {"manufacturer range middle", 0xA7, 35, 0},
    {"manufacturer range end", 0xFF, 35, 0},
    {"the key 0x99 is a manufacturer key", 0x99, 35, 0},
    {"below the manufacturer range", 0x7F, -1, 0},
    {"above the manufacturer range", 0x100, -1, 0},
    {"receive power is column 1", 0x10, 5, 1},
    {"transmit power is column 0", 0x11, 5, 0},
    {"initial TX rate is column 1", 0x26, 18, 1},
    {"last TX rate is column 0", 0x34, 18, 0},
    {"far echo delay is column 1", 0x16, 9, 1},
    {"round trip delay is column 0", 0x17, 9, 0},
    {"compression", 0x44, 23, 1},
    {"gap after V.8 octets", 0x06, -1, 0},
    {"gap after bit-field word", 0x19, -1, 0},
    {"gap after carrier frequency", 0x28, -1, 0},
    {"gap after dictionary size", 0x46, -1, 0},
    {"gap after I-frame errors", 0x5A, -1, 0},
    {"gap after call waiting", 0x62, -1, 0},
    {"KeyNone as a report key", 0xFFFF, 0, 1},
    {"KeyDerived as a report key", 0xFFFE, 11, 0},
    {"KeyNone widened", 0x1FFFF, -1, 0},
    {"all ones", 0xFFFFFFFF, -1, 0},
};

TEST(Catalogue, FindKeyEntryEdgeCases) {
    for (const FindCase& c : FindCases) {
        SCOPED_TRACE(c.name);
        const auto found = findKeyEntry(c.key);
        if (c.entry < 0) {
            EXPECT_FALSE(found.has_value());
        } else {
            ASSERT_TRUE(found.has_value());
            EXPECT_EQ(c.entry, found->entry);
            EXPECT_EQ(c.column, found->column);
        }
    }
}

// The recognised keys, as ranges: 0x00-0x05, 0x10-0x18, 0x20-0x27,
// 0x30-0x35, 0x40-0x45, 0x50-0x59, 0x60-0x61, 0x80-0xFF.
TEST(Catalogue, RecognisesExactlyTheDocumentedKeys) {
    const std::pair<std::uint32_t, std::uint32_t> ranges[] = {
        {0x00, 0x05}, {0x10, 0x18}, {0x20, 0x27}, {0x30, 0x35},
        {0x40, 0x45}, {0x50, 0x59}, {0x60, 0x61}, {0x80, 0xFF},
    };
    for (std::uint32_t key = 0; key <= 0x1FF; ++key) {
        bool expected = false;
        for (const auto& range : ranges) {
            expected = expected || (key >= range.first && key <= range.second);
        }
        EXPECT_EQ(expected, findKeyEntry(key).has_value()) << std::hex << key;
    }
}

// Each key feeds one slot only, and a key finds the slot it is listed in.
TEST(Catalogue, EveryListedKeyFindsItsOwnSlot) {
    std::map<std::uint16_t, int> seen;
    for (int i = 0; i < KeyEntryCount; ++i) {
        const KeyEntry& entry = KeyCatalogue[i];
        const std::uint16_t keys[] = {entry.key1, entry.key2};
        for (int column = 0; column < 2; ++column) {
            const std::uint16_t key = keys[column];
            if (key > 0xFF) {
                continue;
            }
            SCOPED_TRACE(key);
            EXPECT_EQ(0, seen[key]++);
            const auto found = findKeyEntry(key);
            ASSERT_TRUE(found.has_value());
            EXPECT_EQ(i, found->entry);
            EXPECT_EQ(column, found->column);
        }
    }
}

TEST(Catalogue, TableInvariants) {
    int derived = 0;
    int unlabelled = 0;
    for (int i = 0; i < KeyEntryCount; ++i) {
        SCOPED_TRACE(i);
        const KeyEntry& entry = KeyCatalogue[i];
        EXPECT_EQ(entry.kind == EntryKind::Enumerated, entry.codeTexts != nullptr);
        if (entry.kind != EntryKind::Decimal) {
            EXPECT_EQ(0, entry.limit1);
            EXPECT_EQ(0, entry.limit2);
        }
        if (entry.key1 == KeyDerived) {
            ++derived;
            EXPECT_EQ(EntryKind::Special, entry.kind);
        }
        if (entry.label == nullptr) {
            ++unlabelled;
            EXPECT_EQ(0x18, entry.key1);
        }
        EXPECT_EQ(i == 35, entry.key1 == 0xFF);
    }
    EXPECT_EQ(4, derived);
    EXPECT_EQ(1, unlabelled);
}

}  // namespace

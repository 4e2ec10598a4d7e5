#include "value_slots.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(ValueSlots, ResetPointsEverySlotAtTheMarker) {
    ValueSlotTable slots;
    static const char other[] = "x";
    for (auto& row : slots.text) {
        row[0] = other;
        row[1] = other;
    }
    resetValueSlots(slots);
    for (int entry = 0; entry < KeyEntryCount; ++entry) {
        EXPECT_TRUE(slotIsEmpty(slots, entry, 0));
        EXPECT_TRUE(slotIsEmpty(slots, entry, 1));
    }
}

// Each slot's own text is apart from the others, long or short.
TEST(ValueSlots, OwnedTextsAreSeparate) {
    ValueSlotTable slots;
    char* first = takeOwnedText(slots, 5, 0, 12);
    char* second = takeOwnedText(slots, 5, 1, 600);
    ASSERT_NE(nullptr, first);
    ASSERT_NE(nullptr, second);
    std::memset(second, 'b', 599);
    second[599] = '\0';
    std::strcpy(first, "first");
    EXPECT_STREQ("first", first);
    EXPECT_EQ(599u, std::strlen(second));
}

}  // namespace

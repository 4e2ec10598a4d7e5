#include "value_slots.h"

#include <gtest/gtest.h>

#include <memory_resource>

namespace {

TEST(ValueSlots, ResetPointsEverySlotAtTheMarker) {
    std::pmr::monotonic_buffer_resource storage;
    ValueSlotTable slots(storage);
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

TEST(ValueSlots, OwnedTextsAreSeparateUntilStorageRunsOut) {
    alignas(std::max_align_t) std::byte buffer[24];
    std::pmr::monotonic_buffer_resource storage(buffer, sizeof buffer,
                                                std::pmr::null_memory_resource());
    ValueSlotTable slots(storage);
    char* first = takeOwnedText(slots, 12);
    char* second = takeOwnedText(slots, 12);
    ASSERT_NE(nullptr, first);
    ASSERT_NE(nullptr, second);
    EXPECT_GE(second - first, 12);
    EXPECT_EQ(nullptr, takeOwnedText(slots, 4));
}

}  // namespace

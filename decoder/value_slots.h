// The value slot table of one decoding run: for every catalogue entry and
// column, the text the report shows, or the not-available marker.
//
// Slots only refer to texts. Constant texts (code texts, "ON", "OFF", the
// marker) are referred to directly; texts built while rendering come from
// the run's storage, which the run releases all at once when it returns, so
// the table must not outlive that storage.
#pragma once

#include <cstddef>
#include <memory_resource>

#include "catalogue.h"

struct ValueSlotTable {
    explicit ValueSlotTable(std::pmr::memory_resource& runStorage) : storage(&runStorage) {}

    const char* text[KeyEntryCount][2] = {};
    std::pmr::memory_resource* storage;
};

// Points every slot at the not-available marker.
void resetValueSlots(ValueSlotTable& slots);

// True when the slot still holds the marker itself: no value was received.
inline bool slotIsEmpty(const ValueSlotTable& slots, int entry, int column) {
    return isNotAvailableMarker(slots.text[entry][column]);
}

// Storage for an owned text of the given capacity from the run's storage, or
// null when none can be had. Pieces are never given back one by one.
char* takeOwnedText(ValueSlotTable& slots, std::size_t capacity);

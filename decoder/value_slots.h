// The value slot table of one decoding run: for every catalogue entry and
// column, the text the report shows, or the not-available marker.
//
// Slots only refer to texts. Constant texts (code texts, "ON", "OFF", the
// marker) are referred to directly; a text built while rendering is the
// slot's own, kept in the table, so the table is never copied.
#pragma once

#include <cstddef>
#include <string>

#include "catalogue.h"

struct ValueSlotTable {
    ValueSlotTable() = default;
    ValueSlotTable(const ValueSlotTable&) = delete;
    ValueSlotTable& operator=(const ValueSlotTable&) = delete;

    const char* text[KeyEntryCount][2] = {};
    // The texts rendering built, each slot's own; most fit in the string
    // itself, and a longer one keeps its storage for the next report.
    std::string owned[KeyEntryCount][2];
};

// Points every slot at the not-available marker.
void resetValueSlots(ValueSlotTable& slots);

// True when the slot still holds the marker itself: no value was received.
inline bool slotIsEmpty(const ValueSlotTable& slots, int entry, int column) {
    return isNotAvailableMarker(slots.text[entry][column]);
}

// Storage for the slot's own text of the given capacity, or null when none
// can be had (the slot's text is then left as it was).
char* takeOwnedText(ValueSlotTable& slots, int entry, int column, std::size_t capacity);

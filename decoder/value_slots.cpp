// The value slot table: reset and the run-owned texts its slots refer to.

#include "value_slots.h"

#include <new>

void resetValueSlots(ValueSlotTable& slots) {
    for (auto& row : slots.text) {
        row[0] = NotAvailableMarker;
        row[1] = NotAvailableMarker;
    }
}

char* takeOwnedText(ValueSlotTable& slots, std::size_t capacity) {
    try {
        return static_cast<char*>(slots.storage->allocate(capacity, 1));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

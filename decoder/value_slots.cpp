// The value slot table: reset and the run-owned texts its slots refer to.

#include "value_slots.h"

#include <new>

void resetValueSlots(ValueSlotTable& slots) {
    for (auto& row : slots.text) {
        row[0] = NotAvailableMarker;
        row[1] = NotAvailableMarker;
    }
}

char* takeOwnedText(ValueSlotTable& slots, int entry, int column, std::size_t capacity) {
    std::string& owned = slots.owned[entry][column];
    // Storage larger than asked for serves as well, and costs no call.
    if (owned.size() >= capacity) {
        return &owned[0];
    }
    try {
        owned.resize(capacity);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    return &owned[0];
}

// Value rendering: turns the value text of one key=value token into the text
// its value slot shows.
//
// Rendering never fails visibly. A code without a text puts the slot back to
// the not-available marker; a number that cannot be shown becomes a copied
// "NA", which still counts as a received value. When no storage can be had
// for an owned text, the slot keeps what it held before: a missing value is
// better than a wrong one, and the run goes on.
#pragma once

#include <cstdint>

#include "value_slots.h"

// entry and column as findKeyEntry gave them for key; valueText is the
// zero-terminated text after the token's "=". Key 0x18 fills the four
// derived lines instead of its own entry.
void renderValue(ValueSlotTable& slots, int entry, int column, std::uint32_t key,
                 const char* valueText);

// Report composition: the last step of a decoding run that read its input.
//
// Appends one line per catalogue entry that received a value, in catalogue
// order, the label padded to the longest label's width, then ": " and the
// value or the two values around "/". Appends "no recognizable data found!"
// when no diagnostic block was met. Lines have no length limit: a long
// verbatim value is shown whole.
#pragma once

#include <string>

#include "run_observer.h"
#include "value_slots.h"

// The observer, if any, hears of the no-data message.
void composeReport(const ValueSlotTable& slots, bool blockSeen, RunObserver* observer = nullptr);

// The width every label is padded to (31 with the catalogue as it is).
int reportLabelWidth();

// A report line's values as the text shows them, after the label: first, or
// first and second around "/"; second is null for a one-value line.
std::string reportValues(const char* first, const char* second);

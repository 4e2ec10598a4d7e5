// Which report lines a fleet summary counts, and how, read from the key
// catalogue: a line whose values are names (an enumerated line, the
// protocol/compression line, the ON/OFF lines of the bit-field word) gets
// its values counted; a decimal line gets the spread of its numbers. Every
// other line (the revision, verbatim texts, frequency offsets and
// preemphasis indices) is left out.
#pragma once

#include <string>

enum class SummaryShape { None, Names, Numbers };

SummaryShape summaryShape(int entry);

// The number of values the entry's line shows: 1, or 2 for a pair.
int summaryColumns(int entry);

// A column's name, from the line's label: for a pair the word(s) before and
// after its "/" ("TX" and "RX", "Round Trip" and "Far", "Last" and "Init");
// empty for a single value.
std::string summaryColumnName(int entry, int column);

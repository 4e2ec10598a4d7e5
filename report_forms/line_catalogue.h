// The report's lines as the writers see them, read from the decoder's key
// catalogue: each line's label, how many values it shows and which keys
// feed them, the width labels are padded to, and how a fleet summary
// counts it. Lines are numbered as ReportLine::entry numbers them.
//
// Which lines a fleet summary counts, and how: a line whose values are
// names (an enumerated line, the protocol/compression line, the ON/OFF
// lines of the bit-field word) gets its values counted; a decimal line gets
// the spread of its numbers. Every other line (the revision, verbatim
// texts, frequency offsets and preemphasis indices) is left out.
#pragma once

#include <cstdint>
#include <string>

#include "catalogue.h"
#include "report_values.h"

constexpr int LineCount = KeyEntryCount;

// Null for the bit-field word's own entry, which shows no line of its own.
const char* lineLabel(int entry);

// The number of values the line shows: 1, or 2 for a pair around "/".
int lineColumns(int entry);

// The key whose value a column shows; the bit-field word's key for the
// lines its fields fill.
std::uint16_t lineKey(int entry, int column);

// A decimal column's largest value shown; 0 for none.
std::uint32_t lineLimit(int entry, int column);

// The width every label is padded to (31 with the catalogue as it is).
int labelWidth();

// The line carries its entry's own label (every line but a hand-made one).
// Inline: a run asks it of every line it writes.
inline bool hasOwnLabel(const ReportLine& line) {
    return line.entry >= 0 && line.entry < LineCount && line.label != nullptr &&
           line.label == KeyCatalogue[line.entry].label;
}

struct LineColumn {
    int entry;
    int column;
};

// Where a known key's value is shown.
LineColumn lineOfKey(std::uint16_t key);

enum class SummaryShape { None, Names, Numbers };

SummaryShape summaryShape(int entry);

// A column's name, from the line's label: for a pair the word(s) before and
// after its "/" ("TX" and "RX", "Round Trip" and "Far", "Last" and "Init");
// empty for a single value.
std::string summaryColumnName(int entry, int column);

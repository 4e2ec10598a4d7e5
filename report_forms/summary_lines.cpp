// The summary's reading of the key catalogue.

#include "summary_lines.h"

#include <cstring>

#include "catalogue.h"

SummaryShape summaryShape(int entry) {
    const KeyEntry& line = KeyCatalogue[entry];
    if (line.label == nullptr) {
        return SummaryShape::None;
    }
    switch (line.kind) {
        case EntryKind::Enumerated:
            return SummaryShape::Names;
        case EntryKind::Decimal:
            return SummaryShape::Numbers;
        case EntryKind::Special:
            // Protocol and compression come from code tables, the two
            // bit-field flags are ON or OFF; the other rules make numbers
            // of their own kind.
            return line.key1 == ProtocolKey || entry == RemotePowerDropEntry ||
                           entry == RateAsymmetryEntry
                       ? SummaryShape::Names
                       : SummaryShape::None;
        case EntryKind::Verbatim:
            break;
    }
    return SummaryShape::None;
}

int summaryColumns(int entry) {
    return KeyCatalogue[entry].key2 == KeyNone ? 1 : 2;
}

std::string summaryColumnName(int entry, int column) {
    const char* label = KeyCatalogue[entry].label;
    const char* slash = label != nullptr ? std::strchr(label, '/') : nullptr;
    if (summaryColumns(entry) == 1 || slash == nullptr) {
        return "";
    }
    if (column == 1) {
        return std::string(slash + 1, std::strcspn(slash + 1, " ,)"));
    }
    // Back to an opening parenthesis, or to the label's start.
    const char* start = slash;
    while (start > label && start[-1] != '(') {
        --start;
    }
    return std::string(start, static_cast<std::size_t>(slash - start));
}

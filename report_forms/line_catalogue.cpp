// The writers' reading of the key catalogue.

#include "line_catalogue.h"

#include <algorithm>
#include <cstring>

const char* lineLabel(int entry) {
    return KeyCatalogue[entry].label;
}

int lineColumns(int entry) {
    return KeyCatalogue[entry].key2 == KeyNone ? 1 : 2;
}

std::uint16_t lineKey(int entry, int column) {
    const std::uint16_t key = column == 0 ? KeyCatalogue[entry].key1 : KeyCatalogue[entry].key2;
    return key == KeyDerived ? BitFieldKey : key;
}

std::uint32_t lineLimit(int entry, int column) {
    return column == 0 ? KeyCatalogue[entry].limit1 : KeyCatalogue[entry].limit2;
}

int labelWidth() {
    static const int width = [] {
        std::size_t longest = 0;
        for (const KeyEntry& entry : KeyCatalogue) {
            if (entry.label != nullptr) {
                longest = std::max(longest, std::strlen(entry.label));
            }
        }
        return static_cast<int>(longest);
    }();
    return width;
}

LineColumn lineOfKey(std::uint16_t key) {
    const KeyLocation at = *findKeyEntry(key);
    return LineColumn{at.entry, at.column};
}

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

std::string summaryColumnName(int entry, int column) {
    const char* label = KeyCatalogue[entry].label;
    const char* slash = label != nullptr ? std::strchr(label, '/') : nullptr;
    if (lineColumns(entry) == 1 || slash == nullptr) {
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

// The key catalogue: the 36 report lines the decoder knows, in report order,
// with the keys that feed each line and how their values are rendered.
//
// The table is constant and indexed 0..KeyEntryCount-1. Column 0 of an entry
// holds the value of key1, column 1 that of key2. Lookups scan in table
// order and the first match wins.
#pragma once

#include <cstdint>
#include <optional>

#include "code_texts.h"

enum class EntryKind : std::uint8_t {
    Verbatim = 0,    // the value text as received
    Enumerated = 1,  // the codeTexts text of the value's code
    Decimal = 2,     // unsigned decimal, "NA" above the column's limit
    Special = 3,     // a rule chosen by the key (revision, bit fields, protocol)
};

// key2 of a single-value line.
constexpr std::uint16_t KeyNone = 0xFFFF;
// A column filled from the bit-field word of key 0x18, not by a key of its own.
constexpr std::uint16_t KeyDerived = 0xFFFE;

struct KeyEntry {
    EntryKind kind;
    const CodeText* codeTexts;  // Enumerated entries only
    const char* label;          // null only for the bit-field word's own entry
    std::uint16_t key1;
    std::uint16_t key2;
    std::uint16_t limit1;  // Decimal entries: largest value shown, 0 = none
    std::uint16_t limit2;
};

constexpr int KeyEntryCount = 36;
extern const KeyEntry KeyCatalogue[KeyEntryCount];

struct KeyLocation {
    int entry;
    int column;
};

// Where a report key's value goes. Keys 0x80..0xFF all land on the
// manufacturer line; keys above 0xFFFF never match.
std::optional<KeyLocation> findKeyEntry(std::uint32_t key);

// The index of the entry with this label, or -1.
int findEntryByLabel(const char* label);

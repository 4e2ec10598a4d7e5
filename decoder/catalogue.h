// The key catalogue: the 36 report lines the decoder knows, in report order,
// with the keys that feed each line and how their values are rendered; and
// the other constants of the report format: the block markers, the keys with
// rules of their own and the lines the bit-field word fills.
//
// The table is constant and indexed 0..KeyEntryCount-1. Column 0 of an entry
// holds the value of key1, column 1 that of key2. Lookups scan in table
// order and the first match wins. catalogue.cpp checks at compile time that
// the constants below agree with the table.
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

// A diagnostic block is an input line that begins with one of the two
// markers. They differ only in the space before the '<'; the space at their
// end belongs to the marker.
inline constexpr char SpacedMarker[] = "DIAG <2A4D3263 ";
inline constexpr char UnspacedMarker[] = "DIAG<2A4D3263 ";

// The keys of the Special entries, each rendered by a rule of its own.
constexpr std::uint16_t RevisionKey = 0x00;
constexpr std::uint16_t BitFieldKey = 0x18;
constexpr std::uint16_t ProtocolKey = 0x40;
constexpr std::uint16_t CompressionKey = 0x44;

// The bit-field word's own entry never shows a line: its fields fill the four
// derived entries that follow it.
constexpr int BitFieldEntry = 10;
constexpr int RemotePowerDropEntry = 11;
constexpr int FrequencyOffsetEntry = 12;
constexpr int PreemphasisEntry = 13;
constexpr int RateAsymmetryEntry = 14;
constexpr int FirstDerivedEntry = RemotePowerDropEntry;
constexpr int LastDerivedEntry = RateAsymmetryEntry;

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

// The key catalogue table, its lookup, and the checks that tie the
// catalogue header's constants to the table.

#include "catalogue.h"

namespace {

constexpr EntryKind Verbatim = EntryKind::Verbatim;
constexpr EntryKind Enumerated = EntryKind::Enumerated;
constexpr EntryKind Decimal = EntryKind::Decimal;
constexpr EntryKind Special = EntryKind::Special;

// Entry 35's key1 stands for the whole manufacturer range.
constexpr std::uint16_t ManufacturerKey = 0xFF;
constexpr std::uint32_t ManufacturerFirst = 0x80;
constexpr std::uint32_t ManufacturerLast = 0xFF;

}  // namespace

constexpr KeyEntry KeyCatalogue[KeyEntryCount] = {
    {Special, nullptr, "Diag Command Specification rev.", 0x00, KeyNone, 0, 0},
    {Enumerated, CallSetupResultTexts, "Call Setup Result code", 0x01, KeyNone, 0, 0},
    {Enumerated, MultiMediaModeTexts, "Multi-media mode", 0x02, KeyNone, 0, 0},
    {Enumerated, InterfaceModeTexts, "DTE-DCE interface mode", 0x03, KeyNone, 0, 0},
    {Verbatim, nullptr, "V.8 CM/JM octet string", 0x04, 0x05, 0, 0},
    {Decimal, nullptr, "TX/RX signal power level, -dBm", 0x11, 0x10, 31, 47},
    {Decimal, nullptr, "Estimated noise level, -dBm", 0x12, KeyNone, 100, 0},
    {Decimal, nullptr, "Normalized Mean Squared error", 0x13, KeyNone, 255, 0},
    {Decimal, nullptr, "Near/Far echo loss, dB", 0x14, 0x15, 63, 63},
    {Decimal, nullptr, "Round Trip/Far echo delay, ms", 0x17, 0x16, 4095, 63},
    {Special, nullptr, nullptr, 0x18, KeyNone, 0, 0},
    {Special, nullptr, "Remote Power Drop support", KeyDerived, KeyNone, 0, 0},
    {Special, nullptr, "Freq offset Caller/Answer, Hz", KeyDerived, KeyDerived, 0, 0},
    {Special, nullptr, "Preemphasis Index Caller/Answer", KeyDerived, KeyDerived, 0, 0},
    {Special, nullptr, "V.34 Rate Asymmetry", KeyDerived, KeyNone, 0, 0},
    {Enumerated, NegotiationTexts, "TX/RX Negotiation", 0x20, 0x21, 0, 0},
    {Decimal, nullptr, "TX/RX Symbol Rate", 0x22, 0x23, 8000, 8000},
    {Decimal, nullptr, "TX/RX Carrier frequency, Hz", 0x24, 0x25, 4000, 4000},
    {Decimal, nullptr, "TX data rate (Last/Init)", 0x34, 0x26, 64000, 64000},
    {Decimal, nullptr, "RX data rate (Last/Init)", 0x35, 0x27, 64000, 64000},
    {Decimal, nullptr, "Temporary carrier loss count", 0x30, KeyNone, 255, 0},
    {Decimal, nullptr, "Carrier Rate Re-neg count", 0x31, KeyNone, 255, 0},
    {Decimal, nullptr, "Retrains Requested/Granted", 0x32, 0x33, 255, 255},
    {Special, nullptr, "Protocol/Compression", 0x40, 0x44, 0, 0},
    {Decimal, nullptr, "Error control frame size, bytes", 0x41, KeyNone, 1024, 0},
    {Decimal, nullptr, "Error control timeouts in TX", 0x42, KeyNone, 255, 0},
    {Decimal, nullptr, "Error control NAKs received", 0x43, KeyNone, 255, 0},
    {Decimal, nullptr, "Compression dict. size, bytes", 0x45, KeyNone, 2048, 0},
    {Enumerated, FlowControlTexts, "TX/RX flow control", 0x50, 0x51, 0, 0},
    {Decimal, nullptr, "TX/RX chars sent", 0x52, 0x53, 0, 0},
    {Decimal, nullptr, "TX/RX chars lost (data overrun)", 0x54, 0x55, 65535, 65535},
    {Decimal, nullptr, "TX/RX I-Frame count", 0x56, 0x57, 0, 0},
    {Decimal, nullptr, "TX/RX I-Frame error count", 0x58, 0x59, 65535, 65535},
    {Enumerated, TerminationCauseTexts, "Termination Cause", 0x60, KeyNone, 0, 0},
    {Decimal, nullptr, "Call Waiting event count", 0x61, KeyNone, 255, 0},
    {Verbatim, nullptr, "Manufacturer key", ManufacturerKey, KeyNone, 0, 0},
};

namespace {

constexpr bool isDerived(int entry) {
    return entry >= FirstDerivedEntry && entry <= LastDerivedEntry;
}

// The derived entries, and only they, take their first value from the word.
constexpr bool derivedEntriesAreTheDerivedLines() {
    for (int i = 0; i < KeyEntryCount; ++i) {
        const KeyEntry& entry = KeyCatalogue[i];
        if (isDerived(i) != (entry.key1 == KeyDerived) ||
            (isDerived(i) && entry.kind != EntryKind::Special)) {
            return false;
        }
    }
    return true;
}

constexpr bool isSpecialKey(std::uint16_t key) {
    for (const KeyEntry& entry : KeyCatalogue) {
        if (entry.kind == EntryKind::Special && (entry.key1 == key || entry.key2 == key)) {
            return true;
        }
    }
    return false;
}

static_assert(derivedEntriesAreTheDerivedLines(), "entries 11 to 14 are the derived lines");
static_assert(KeyCatalogue[FrequencyOffsetEntry].key2 == KeyDerived &&
                  KeyCatalogue[PreemphasisEntry].key2 == KeyDerived &&
                  KeyCatalogue[RemotePowerDropEntry].key2 == KeyNone &&
                  KeyCatalogue[RateAsymmetryEntry].key2 == KeyNone,
              "the bit-field word fills two lines with a pair and two with one value");
static_assert(KeyCatalogue[BitFieldEntry].key1 == BitFieldKey &&
                  KeyCatalogue[BitFieldEntry].label == nullptr,
              "the bit-field word's own entry has no line");
static_assert(isSpecialKey(RevisionKey) && isSpecialKey(BitFieldKey) && isSpecialKey(ProtocolKey) &&
                  isSpecialKey(CompressionKey),
              "every key with a rule of its own feeds a Special entry");

}  // namespace

namespace {

// The lookup in table order, the first match winning.
constexpr std::optional<KeyLocation> scanCatalogue(std::uint32_t key) {
    const bool manufacturer = key >= ManufacturerFirst && key <= ManufacturerLast;
    for (int i = 0; i < KeyEntryCount; ++i) {
        const KeyEntry& entry = KeyCatalogue[i];
        if (key == entry.key1 || (manufacturer && entry.key1 == ManufacturerKey)) {
            return KeyLocation{i, 0};
        }
        if (key == entry.key2) {
            return KeyLocation{i, 1};
        }
    }
    return std::nullopt;
}

// Every key a report can name below 0x100, looked up once at compile time
// by that same scan: the lookup runs for every token, and the scan was an
// eighth of a report's decoding time.
constexpr std::uint32_t IndexedKeys = 0x100;
struct KeyIndex {
    signed char entry[IndexedKeys] = {};  // -1: not in the catalogue
    signed char column[IndexedKeys] = {};
};

constexpr KeyIndex makeKeyIndex() {
    KeyIndex index;
    for (std::uint32_t key = 0; key < IndexedKeys; ++key) {
        const std::optional<KeyLocation> location = scanCatalogue(key);
        index.entry[key] = static_cast<signed char>(location ? location->entry : -1);
        index.column[key] = static_cast<signed char>(location ? location->column : 0);
    }
    return index;
}

constexpr KeyIndex SmallKeys = makeKeyIndex();

}  // namespace

std::optional<KeyLocation> findKeyEntry(std::uint32_t key) {
    if (key >= IndexedKeys) {
        return scanCatalogue(key);
    }
    if (SmallKeys.entry[key] < 0) {
        return std::nullopt;
    }
    return KeyLocation{SmallKeys.entry[key], SmallKeys.column[key]};
}

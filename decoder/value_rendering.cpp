// Value rendering by entry kind, and the special rules for the revision, the
// bit-field word and the protocol/compression pair.

#include "value_rendering.h"

#include <cstring>

#include "catalogue.h"
#include "hex_number.h"
#include "number_text.h"

namespace {

const char OnText[] = "ON";
const char OffText[] = "OFF";

constexpr std::size_t DecimalCapacity = 12;
static_assert(DecimalCapacity > MaxNumberDigits, "room for any number and its zero");
constexpr std::size_t RevisionCapacity = 4;
constexpr std::size_t FrequencyOffsetCapacity = 8;
constexpr std::size_t PreemphasisCapacity = 4;

constexpr std::uint32_t FrequencyOffsetUnknown = 1023;
constexpr std::uint32_t PreemphasisUnknown = 15;

std::uint32_t hexValue(const char* valueText) {
    return parseHexNumber(valueText).value;
}

void storeCopiedNA(ValueSlotTable& slots, int entry, int column, std::size_t capacity) {
    char* text = takeOwnedText(slots, entry, column, capacity);
    if (text == nullptr) {
        return;
    }
    std::memcpy(text, NotAvailableMarker, std::strlen(NotAvailableMarker) + 1);
    slots.text[entry][column] = text;
}

void renderVerbatim(ValueSlotTable& slots, int entry, int column, const char* valueText) {
    const std::size_t length = std::strlen(valueText);
    const std::size_t capacity = (length + 1 + 3) / 4 * 4;
    char* text = takeOwnedText(slots, entry, column, capacity);
    if (text == nullptr) {
        return;
    }
    std::memcpy(text, valueText, length + 1);
    slots.text[entry][column] = text;
}

void renderDecimal(ValueSlotTable& slots, int entry, int column, const char* valueText) {
    const KeyEntry& catalogueEntry = KeyCatalogue[entry];
    const std::uint32_t limit = column == 0 ? catalogueEntry.limit1 : catalogueEntry.limit2;
    const std::uint32_t n = hexValue(valueText);
    if (limit != 0 && n > limit) {
        storeCopiedNA(slots, entry, column, DecimalCapacity);
        return;
    }
    char* text = takeOwnedText(slots, entry, column, DecimalCapacity);
    if (text == nullptr) {
        return;
    }
    writeNumber(text, n, 10);
    slots.text[entry][column] = text;
}

void renderRevision(ValueSlotTable& slots, int entry, int column, const char* valueText) {
    const std::uint32_t n = hexValue(valueText);
    char* text = takeOwnedText(slots, entry, column, RevisionCapacity);
    if (text == nullptr) {
        return;
    }
    char* end = writeNumber(text, (n % 256) / 16, 16);
    *end++ = '.';
    writeNumber(end, n % 16, 16);
    slots.text[entry][column] = text;
}

// A 10-bit field: sign bit 9, magnitude in 0.02 Hz steps; all ones = unknown.
void storeFrequencyOffset(ValueSlotTable& slots, int entry, int column, std::uint32_t field) {
    if (field == FrequencyOffsetUnknown) {
        storeCopiedNA(slots, entry, column, FrequencyOffsetCapacity);
        return;
    }
    char* text = takeOwnedText(slots, entry, column, FrequencyOffsetCapacity);
    if (text == nullptr) {
        return;
    }
    const std::uint32_t hundredths = (field & 511) * 2;
    char* end = text;
    // 512 is a set sign with no magnitude and still reads "-0.00".
    if ((field & 512) != 0) {
        *end++ = '-';
    } else if (field != 0) {
        *end++ = '+';
    }
    end = writeNumber(end, hundredths / 100, 10);
    *end++ = '.';
    *end++ = static_cast<char>('0' + hundredths % 100 / 10);
    *end++ = static_cast<char>('0' + hundredths % 10);
    *end = '\0';
    slots.text[entry][column] = text;
}

void storePreemphasis(ValueSlotTable& slots, int entry, int column, std::uint32_t field) {
    if (field == PreemphasisUnknown) {
        storeCopiedNA(slots, entry, column, PreemphasisCapacity);
        return;
    }
    char* text = takeOwnedText(slots, entry, column, PreemphasisCapacity);
    if (text == nullptr) {
        return;
    }
    writeNumber(text, field, 10);
    slots.text[entry][column] = text;
}

// The word's fields go to the four derived lines; its own entry stays empty.
void renderBitFieldWord(ValueSlotTable& slots, const char* valueText) {
    const std::uint32_t w = hexValue(valueText);
    slots.text[RemotePowerDropEntry][0] = (w & (1u << 30)) != 0 ? OnText : OffText;
    storeFrequencyOffset(slots, FrequencyOffsetEntry, 0, (w >> 20) & 1023);
    storeFrequencyOffset(slots, FrequencyOffsetEntry, 1, w & 1023);
    storePreemphasis(slots, PreemphasisEntry, 0, (w >> 12) & 15);
    storePreemphasis(slots, PreemphasisEntry, 1, (w >> 16) & 15);
    slots.text[RateAsymmetryEntry][0] = (w & (1u << 10)) != 0 ? OnText : OffText;
}

void renderSpecial(ValueSlotTable& slots, int entry, int column, std::uint32_t key,
                   const char* valueText) {
    switch (key) {
        case RevisionKey:
            renderRevision(slots, entry, column, valueText);
            break;
        case BitFieldKey:
            renderBitFieldWord(slots, valueText);
            break;
        case ProtocolKey:
            slots.text[entry][column] = lookupCodeText(ProtocolTexts, hexValue(valueText));
            break;
        case CompressionKey:
            slots.text[entry][column] = lookupCodeText(CompressionTexts, hexValue(valueText));
            break;
        default:
            // Only KeyNone and KeyDerived used as report keys get here.
            break;
    }
}

}  // namespace

void renderValue(ValueSlotTable& slots, int entry, int column, std::uint32_t key,
                 const char* valueText) {
    const KeyEntry& catalogueEntry = KeyCatalogue[entry];
    switch (catalogueEntry.kind) {
        case EntryKind::Verbatim:
            renderVerbatim(slots, entry, column, valueText);
            break;
        case EntryKind::Enumerated:
            slots.text[entry][column] =
                lookupCodeText(catalogueEntry.codeTexts, hexValue(valueText));
            break;
        case EntryKind::Decimal:
            renderDecimal(slots, entry, column, valueText);
            break;
        case EntryKind::Special:
            renderSpecial(slots, entry, column, key, valueText);
            break;
    }
}

// The enumeration tables: the display text of every code a report value can
// carry, and the one lookup that reads them.
//
// Each table is a constant array of CodeText records ended by a record whose
// code is CodeEnd and whose text is null. The texts live as long as the
// program; value slots refer to them and never copy them.
#pragma once

#include <cstdint>

struct CodeText {
    std::uint16_t code;
    const char* text;
};

constexpr std::uint16_t CodeEnd = 0xFFFF;

// The not-available marker, the one shared "NA". A value slot that refers to
// this very array counts as "no value received"; a copy reading "NA" does not.
// Compare with isNotAvailableMarker, never by characters.
extern const char NotAvailableMarker[];

inline bool isNotAvailableMarker(const char* text) {
    return text == NotAvailableMarker;
}

extern const CodeText CallSetupResultTexts[];
extern const CodeText MultiMediaModeTexts[];
extern const CodeText InterfaceModeTexts[];
extern const CodeText NegotiationTexts[];
extern const CodeText ProtocolTexts[];
extern const CodeText CompressionTexts[];
extern const CodeText FlowControlTexts[];
extern const CodeText TerminationCauseTexts[];

// The text of code in table, or NotAvailableMarker when the table lacks it.
// The code is compared at its full 32 bits, so 0x10001 never finds code 1 and
// CodeEnd itself is never found.
const char* lookupCodeText(const CodeText* table, std::uint32_t code);

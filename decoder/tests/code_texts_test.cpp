#include "code_texts.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

namespace {

struct LookupCase {
    const char* name;
    const CodeText* table;
    std::uint32_t code;
    const char* expected;  // null: the not-available marker itself
};

const LookupCase LookupCases[] = {
    {"call setup last code", CallSetupResultTexts, 0x0B, "V.8bis signal detected"},
    {"call setup past the end", CallSetupResultTexts, 0x0C, nullptr},
    {"call setup lower case", CallSetupResultTexts, 0x00, "No previous call"},
    {"termination upper case", TerminationCauseTexts, 0x01, "No Previous call"},
    {"negotiation last low code", NegotiationTexts, 0x0F, "V.90 Issue 2 (symmetric)"},
    {"negotiation gap start", NegotiationTexts, 0x10, nullptr},
    {"negotiation first high code", NegotiationTexts, 0x80, "<X2T>"},
    {"negotiation last high code", NegotiationTexts, 0x85, "Bell 103"},
    {"negotiation past the end", NegotiationTexts, 0x86, nullptr},
    {"termination gap after 4", TerminationCauseTexts, 0x05, nullptr},
    {"termination missing space", TerminationCauseTexts, 0x3E, "No Modulationin Common"},
    {"termination last code", TerminationCauseTexts, 0x64, "Loss Of Synchronization"},
    {"protocol gap", ProtocolTexts, 0x03, nullptr},
    {"protocol high code", ProtocolTexts, 0x82, "ETCT Enhanced Throughput Cellular"},
    {"compression gap", CompressionTexts, 0x02, nullptr},
    {"compression high code", CompressionTexts, 0x80, "MNP5T"},
    {"flow control", FlowControlTexts, 0x02, "V.24 ckt 106/133"},
    {"multimedia capital T", MultiMediaModeTexts, 0x03, "VoiceViewT"},
    {"interface mode", InterfaceModeTexts, 0x01, "V.80 transparent synchronous mode"},
    {"code above 16 bits is not cut", CallSetupResultTexts, 0x10001, nullptr},
    {"code above 16 bits, negotiation", NegotiationTexts, 0x10080, nullptr},
    {"the end code itself", TerminationCauseTexts, 0xFFFF, nullptr},
    {"all ones", FlowControlTexts, 0xFFFFFFFF, nullptr},
};

TEST(CodeTexts, LookupEdgeCases) {
    for (const LookupCase& c : LookupCases) {
        SCOPED_TRACE(c.name);
        const char* text = lookupCodeText(c.table, c.code);
        if (c.expected == nullptr) {
            EXPECT_TRUE(isNotAvailableMarker(text)) << text;
        } else {
            EXPECT_STREQ(c.expected, text);
        }
    }
}

struct TableCase {
    const char* name;
    const CodeText* table;
    std::size_t count;
};

const TableCase Tables[] = {
    {"CallSetupResultTexts", CallSetupResultTexts, 12},
    {"MultiMediaModeTexts", MultiMediaModeTexts, 11},
    {"InterfaceModeTexts", InterfaceModeTexts, 3},
    {"NegotiationTexts", NegotiationTexts, 22},
    {"ProtocolTexts", ProtocolTexts, 6},
    {"CompressionTexts", CompressionTexts, 3},
    {"FlowControlTexts", FlowControlTexts, 3},
    {"TerminationCauseTexts", TerminationCauseTexts, 50},
};

// Every listed code finds its own text, codes ascend, and the table ends
// where it should: a missing or doubled row shows up here.
TEST(CodeTexts, TablesAreWellFormed) {
    for (const TableCase& c : Tables) {
        SCOPED_TRACE(c.name);
        std::size_t count = 0;
        int previous = -1;
        for (const CodeText* row = c.table; row->code != CodeEnd; ++row, ++count) {
            ASSERT_NE(row->text, nullptr);
            EXPECT_GT(static_cast<int>(row->code), previous);
            previous = row->code;
            EXPECT_EQ(row->text, lookupCodeText(c.table, row->code));
        }
        EXPECT_EQ(c.count, count);
        EXPECT_EQ(nullptr, c.table[count].text);
    }
}

TEST(CodeTexts, TerminationCausesFollowTheirRuns) {
    const std::set<int> expected = {0,  1,  2,  3,  4,  10, 11, 12, 13, 20, 21, 22, 23,
                                    24, 25, 31, 32, 40, 41, 42, 43, 44, 45, 46, 47, 48,
                                    49, 50, 51, 52, 60, 61, 62, 63, 64, 65, 66, 70, 71,
                                    80, 81, 82, 90, 91, 92, 93, 94, 95, 96, 100};
    std::set<int> listed;
    for (int code = 0; code <= 0x100; ++code) {
        if (!isNotAvailableMarker(lookupCodeText(TerminationCauseTexts, code))) {
            listed.insert(code);
        }
    }
    EXPECT_EQ(expected, listed);
}

// The marker is recognised by address: a text that merely reads "NA" is a
// received value.
TEST(CodeTexts, MarkerIsKnownByIdentityNotByCharacters) {
    char copy[4];
    std::memcpy(copy, NotAvailableMarker, 3);
    EXPECT_STREQ("NA", NotAvailableMarker);
    EXPECT_STREQ("NA", copy);
    EXPECT_TRUE(isNotAvailableMarker(NotAvailableMarker));
    EXPECT_FALSE(isNotAvailableMarker(copy));
    EXPECT_FALSE(isNotAvailableMarker("NA"));
    EXPECT_EQ(NotAvailableMarker, lookupCodeText(ProtocolTexts, 7));
}

}  // namespace

#include "report_scanner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "test_support.h"

namespace {

// Scans text as one chunk and ends the report as a run would; returns its
// text.
std::string scanText(const std::string& text, bool* ended = nullptr, bool loose = false) {
    ValueSlotTable slots;
    resetValueSlots(slots);
    RecordingWriter writer;
    ReportCollector collector(writer);
    ScanState state(slots, collector);
    state.looseMarkers = loose;
    std::vector<char> chunk(text.begin(), text.end());
    chunk.push_back('\0');
    const bool endWord = scanChunk(chunk.data(), state);
    if (ended != nullptr) {
        *ended = endWord;
    }
    if (!state.blockSeen) {
        collector.message("no recognizable data found!");
    }
    collector.endReport(slots, 1, endWord, false);
    return writer.text;
}

const char Rev10[] = "Diag Command Specification rev.: 1.0\r\n";
const char Rev01[] = "Diag Command Specification rev.: 0.1\r\n";
const char NoData[] = "no recognizable data found!\r\n";

struct ScanCase {
    const char* name;
    const char* input;
    std::string expected;
};

const std::vector<ScanCase> ScanCases = {
    {"spaced marker", "DIAG <2A4D3263 0=10>", Rev10},
    {"unspaced marker", "DIAG<2A4D3263 0=10>", Rev10},
    {"marker case matters", "diag <2A4D3263 0=10>", NoData},
    {"leading spaces before the marker", " \t\v\f DIAG <2A4D3263 0=10>", Rev10},
    {"marker mid-line is ignored", "xyz DIAG <2A4D3263 0=10>", NoData},
    {"'>' starts a new input line", "xyz>DIAG <2A4D3263 0=10>", Rev10},
    {"tokens after '>' are ignored", "DIAG <2A4D3263 0=1> 2=0", Rev01},
    {"tokens on the next line are ignored", "DIAG <2A4D3263 0=1\r\n2=0>", Rev01},
    {"two blocks on one line", "DIAG <2A4D3263 0=1>DIAG<2A4D3263 0=10>", Rev10},
    {"marker and nothing else is no block", "DIAG <2A4D3263 >\nOK\nDIAG <2A4D3263 0=10>\n", Rev10},
    {"no space after the tag is no block", "DIAG <2A4D3263>\nOK\nDIAG <2A4D3263 0=10>\n", Rev10},
    {"OK lines before the block do not stop it",
     "AT*VXD\r\nOK\r\nOK\r\nDIAG <2A4D3263 0=10>\r\nOK\r\nDIAG <2A4D3263 1=0>\r\n", Rev10},
    {"OKAY ends the scan", "DIAG <2A4D3263 0=10>\nOKAY\nDIAG <2A4D3263 1=0>\n", Rev10},
    {"indented OK ends the scan", "DIAG <2A4D3263 0=10>\n   OK  \nDIAG <2A4D3263 1=0>\n", Rev10},
    {"OK after '>' on the same line", "DIAG <2A4D3263 0=10>OK>DIAG <2A4D3263 1=0>", Rev10},
    {"lower-case ok does not end it", "DIAG <2A4D3263 0=10>\nok\nDIAG <2A4D3263 1=0>\n",
     std::string(Rev10) + "Call Setup Result code         : No previous call\r\n"},
    {"unrecognized key, next token still read", "DIAG <2A4D3263 7F=1 0=10>",
     std::string("unrecognized key 7f!\r\n") + Rev10},
    {"key 0x99 is a manufacturer key", "DIAG <2A4D3263 99=1 0=10>",
     std::string(Rev10) + "Manufacturer key               : 1\r\n"},
    {"minus one as key", "DIAG <2A4D3263 -1=5>", "unrecognized key ffffffff!\r\n"},
    {"key too large", "DIAG <2A4D3263 100000000=5>", "unrecognized key ffffffff!\r\n"},
    {"key above 16 bits", "DIAG <2A4D3263 10000=5>", "unrecognized key 10000!\r\n"},
    {"only unknown keys: no report, no no-data", "DIAG <2A4D3263 7F=1 62=2>",
     "unrecognized key 7f!\r\nunrecognized key 62!\r\n"},
    {"detached '=' after an unknown key is key 0", "DIAG <2A4D3263 7F = 1>",
     std::string("unrecognized key 7f!\r\n") + Rev01},
    {"detached '=' after a manufacturer key", "DIAG <2A4D3263 99 = 1>",
     "Manufacturer key               : 1\r\n"},
    {"key without '=' drops the rest of the line",
     "DIAG <2A4D3263 12 34 0=10>\nDIAG <2A4D3263 1=0>",
     "unrecognized format 'DIAG <2A4D3263 12'!\r\n"
     "Call Setup Result code         : No previous call\r\n"},
    {"format message shows the first token only", "DIAG <2A4D3263 0=1 1=0 2x=5",
     std::string("unrecognized format 'DIAG <2A4D3263 0=1'!\r\n") + Rev01 +
         "Call Setup Result code         : No previous call\r\n"},
    {"unspaced marker in the format message", "DIAG<2A4D3263 12",
     "unrecognized format 'DIAG<2A4D3263 12'!\r\n"},
    {"key at the end of the line", "DIAG <2A4D3263 0=10 12=",
     std::string("unrecognized format 'DIAG <2A4D3263 0=10'!\r\n") + Rev10},
    {"'=5' is key 0", "DIAG <2A4D3263 =5>", "Diag Command Specification rev.: 0.5\r\n"},
    {"'zz=1' is key 0 and a format error", "DIAG <2A4D3263 zz=1>",
     "unrecognized format 'DIAG <2A4D3263 zz=1'!\r\n"},
    {"'12 = 34'", "DIAG <2A4D3263 12 = 34>", "Estimated noise level, -dBm    : 52\r\n"},
    {"'12 =34'", "DIAG <2A4D3263 12 =34>", "Estimated noise level, -dBm    : 52\r\n"},
    {"'12= 34'", "DIAG <2A4D3263 12= 34>", "Estimated noise level, -dBm    : 52\r\n"},
    {"'12\\t=\\t34'", "DIAG <2A4D3263 12\t=\t34>", "Estimated noise level, -dBm    : 52\r\n"},
    {"':' does not stand for '='", "DIAG <2A4D3263 12 : 34>",
     "unrecognized format 'DIAG <2A4D3263 12'!\r\n"},
    {"':' separates tokens", "DIAG <2A4D3263 0=10:1=0>",
     std::string(Rev10) + "Call Setup Result code         : No previous call\r\n"},
    {"marker key values do nothing", "DIAG <2A4D3263 ffff=1 fffe=1>", ""},
    {"last manufacturer key wins", "DIAG <2A4D3263 81=12AB A0=77>",
     "Manufacturer key               : 77\r\n"},
    {"values gather over blocks",
     "DIAG <2A4D3263 0=10>\r\nDIAG <2A4D3263 12=10>\r\nDIAG <2A4D3263 12=11>\r\nOK\r\n",
     std::string(Rev10) + "Estimated noise level, -dBm    : 17\r\n"},
    {"empty input", "", NoData},
    {"only separators", "\r\n>\r\n>>", NoData},
};

TEST(ReportScanner, EdgeCases) {
    for (const ScanCase& c : ScanCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, scanText(c.input));
    }
}

TEST(ReportScanner, EndWordStopsTheScan) {
    bool ended = false;
    scanText("OK\nDIAG <2A4D3263 0=10>\n", &ended);
    EXPECT_FALSE(ended);
    scanText("OK\nDIAG <2A4D3263 0=10>\nOK\n", &ended);
    EXPECT_TRUE(ended);
}

const std::string CallSetup0 = "Call Setup Result code         : No previous call\r\n";

struct LooseCase {
    const char* name;
    const char* input;
    std::string strict;  // what the window's rule makes of it
    std::string loose;
};

const LooseCase LooseCases[] = {
    {"time stamp", "[10:00:01.123] DIAG <2A4D3263 0=10>", NoData, Rev10},
    {"port tag and unspaced marker", "ttyS0: DIAG<2A4D3263 0=10>", NoData, Rev10},
    {"byte order mark",
     "\xEF\xBB\xBF"
     "DIAG <2A4D3263 0=10>",
     NoData, Rev10},
    {"the first marker of a line counts", "t DIAG<2A4D3263 0=10 DIAG <2A4D3263 0=1", NoData,
     std::string("unrecognized key d!\r\nunrecognized format 'DIAG<2A4D3263 0=10'!\r\n") + Rev10},
    {"format message quotes from the marker", "[t] DIAG <2A4D3263 12 34", NoData,
     "unrecognized format 'DIAG <2A4D3263 12'!\r\n"},
    {"stamped OK ends the report", "[1] DIAG <2A4D3263 0=10>\n[2] OK\n[3] DIAG <2A4D3263 1=0>\n",
     NoData, Rev10},
    {"OK must stand alone",
     "[1] DIAG <2A4D3263 0=10>\n[2] BOOK TOKEN OKAY\n[3] DIAG <2A4D3263 1=0>\n", NoData,
     std::string(Rev10) + CallSetup0},
    {"a marker line is no end line", "DIAG <2A4D3263 0=10>\n[2] OK DIAG <2A4D3263 1=0>\n", Rev10,
     std::string(Rev10) + CallSetup0},
    {"OK beginning a line ends it whatever follows",
     "DIAG <2A4D3263 0=10>\nOK DIAG <2A4D3263 1=0>\n", Rev10, Rev10},
    {"a line that begins with its marker is decoded alike", "DIAG <2A4D3263 0=10>", Rev10, Rev10},
};

TEST(ReportScanner, LooseMarkers) {
    for (const LooseCase& c : LooseCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.strict, scanText(c.input));
        EXPECT_EQ(c.loose, scanText(c.input, nullptr, true));
    }
}

// A first token of several hundred characters is quoted whole.
TEST(ReportScanner, LongFirstTokenInFormatMessage) {
    const std::string token = "12" + std::string(600, 'x');
    const std::string line = "DIAG <2A4D3263 " + token + " 0=10";
    EXPECT_EQ("unrecognized format 'DIAG <2A4D3263 " + token + "'!\r\n", scanText(line));
}

TEST(ReportScanner, LongVerbatimValue) {
    const std::string value(400, 'A');
    EXPECT_EQ("Manufacturer key               : " + value + "\r\n",
              scanText("DIAG <2A4D3263 FE=" + value + ">"));
}

TEST(ReportScanner, FindBlockMarkerPrefersTheSpacedForm) {
    const char text[] = "DIAG<2A4D3263 1=0>\nDIAG <2A4D3263 0=10>";
    EXPECT_EQ(text + 19, findBlockMarker(text));
    const char unspaced[] = "x DIAG<2A4D3263 1=0>";
    EXPECT_EQ(unspaced + 2, findBlockMarker(unspaced));
    EXPECT_EQ(nullptr, findBlockMarker("DIAG <2A4D3263>"));
}

}  // namespace

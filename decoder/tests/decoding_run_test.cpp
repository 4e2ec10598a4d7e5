#include "decoding_run.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "test_support.h"

namespace {

const char Rev10[] = "Diag Command Specification rev.: 1.0\r\n";
const char CallSetup0[] = "Call Setup Result code         : No previous call\r\n";
const char MultiMedia0[] = "Multi-media mode               : Data Only\r\n";
const char NoData[] = "no recognizable data found!\r\n";

class DecodeReport : public ::testing::Test {
  protected:
    void TearDown() override { clearTestClipboard(); }

    // One run over the clipboard; whether it could be read goes to *unread.
    std::string decodeClipboard(bool* unread) {
        RunOutcome outcome;
        const std::string text = decodeText(nullptr, &outcome);
        *unread = outcome.clipboardUnread;
        return text;
    }
};

// A marker line of exactly length characters: "DIAG <2A4D3263 0=10", spaces,
// then tail at its very end.
std::string markerLine(std::size_t length, const std::string& tail) {
    std::string line = "DIAG <2A4D3263 0=10";
    line.append(length - line.size() - tail.size(), ' ');
    return line + tail;
}

TEST_F(DecodeReport, WorkedExample) {
    EXPECT_EQ(crlfLines({
                  "Diag Command Specification rev.: 1.0",
                  "Call Setup Result code         : No previous call",
                  "Multi-media mode               : Data Only",
                  "DTE-DCE interface mode         : Async data",
                  "TX/RX signal power level, -dBm : 26/28",
                  "Termination Cause              : Carrier Lost",
              }),
              decodeLog("DIAG <2A4D3263 0=10 1=0 2=0 3=0 11=1A 10=1C 60=3C>\r\nOK\r\n"));
}

struct FileCase {
    const char* name;
    std::string bytes;
    std::string expected;
};

const std::string Chars4660 = "TX/RX chars sent               : 4660/NA\r\n";

const FileCase FileCases[] = {
    {"empty file", "", NoData},
    {"no marker line", "ATZ\r\nOK\r\nATDT5551234\r\nNO CARRIER\r\n", NoData},
    {"line of 511 characters is read whole", markerLine(511, "52=1234") + "\n",
     std::string(Rev10) + Chars4660},
    {"line of 512: the token cut at 511 is taken as far as it reaches",
     markerLine(512, "52=12345") + "\n", std::string(Rev10) + Chars4660},
    {"the rest of a long line is a new input line",
     markerLine(511, "") + "DIAG <2A4D3263 1=0 2=0" + "\n",
     std::string(Rev10) + CallSetup0 + MultiMedia0},
    {"the rest beginning with OK ends the scan",
     markerLine(511, "") + "OK" + std::string(510, ' ') + "x\nDIAG <2A4D3263 1=0>\n", Rev10},
    {"line of 1023 characters: a token cut after its '=' lacks its value",
     markerLine(511, "") + "DIAG <2A4D3263 1=0" + std::string(491, ' ') + "2=" + "0\n",
     std::string("unrecognized format 'DIAG <2A4D3263 1=0'!\r\n") + Rev10 + CallSetup0},
    {"0x1A ends the input",
     "DIAG <2A4D3263 0=10>\n\x1A"
     "DIAG <2A4D3263 1=0>\n",
     Rev10},
    {"0x1A inside a block line", "DIAG <2A4D3263 0=10 1=0\x1A 2=0>\n",
     std::string(Rev10) + CallSetup0},
    {"nothing after 0x1A, not even a line end", "DIAG <2A4D3263 0=10>\x1A\nOK\n", Rev10},
    {"NUL ends the chunk's text",
     std::string("DIAG <2A4D3263 0=10") + '\0' + " 1=0>\nDIAG <2A4D3263 2=0>\n",
     std::string(Rev10) + MultiMedia0},
    {"lone CR separates input lines", "DIAG <2A4D3263 0=10\r1=0>\rDIAG <2A4D3263 2=0>\r\n",
     std::string(Rev10) + MultiMedia0},
};

TEST_F(DecodeReport, FileSource) {
    for (const FileCase& c : FileCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, decodeLog(c.bytes));
    }
}

std::string withCrLf(const std::string& text) {
    std::string converted;
    for (char c : text) {
        if (c == '\n') {
            converted += '\r';
        }
        converted += c;
    }
    return converted;
}

// Lines around the chunk length, some cut inside a token: CR LF and LF line
// ends must give the same report.
TEST_F(DecodeReport, CrLfAndLfLogsDecodeAlike) {
    std::string log = "ATDT5551234\nCONNECT 33600\n";
    for (std::size_t length : {508, 509, 510, 511, 512, 513}) {
        log += markerLine(length, "52=" + std::to_string(length)) + "\n";
    }
    log += markerLine(510, "53=FF") + "\n" + markerLine(511, "22=D65") + "\n";
    log += "OK\nDIAG <2A4D3263 1=0>\n";
    const std::string lf = decodeLog(log);
    EXPECT_EQ(lf, decodeLog(withCrLf(log)));
    // The last "52=513" was cut to "52=5" at the chunk's end.
    EXPECT_NE(std::string::npos, lf.find("TX/RX chars sent               : 5/255")) << lf;
    EXPECT_NE(std::string::npos, lf.find("TX/RX Symbol Rate              : 3429/NA")) << lf;
}

TEST_F(DecodeReport, ReadsOnFromTheCurrentPositionAndLeavesTheFileOpen) {
    TempFile log("DIAG <2A4D3263 0=10>\nDIAG <2A4D3263 1=0>\n");
    std::FILE* file = log.openText();
    ASSERT_NE(nullptr, file);
    char first[64];
    ASSERT_NE(nullptr, std::fgets(first, sizeof first, file));
    EXPECT_EQ(CallSetup0, decodeText(file));
    EXPECT_EQ(EOF, std::fgetc(file));
    EXPECT_EQ(0, std::fclose(file));
}

TEST_F(DecodeReport, PrefixOnMessagesAndReportLines) {
    EXPECT_EQ("xx unrecognized key 7f!\r\nxx Diag Command Specification rev.: 1.0\r\n",
              decodeLog("DIAG <2A4D3263 7F=0 0=10>\nOK\n", "xx "));
    EXPECT_EQ("xx no recognizable data found!\r\n", decodeLog("OK\n", "xx "));
}

struct ClipboardCase {
    const char* name;
    MemoryClipboardState state;
    const char* text;
    bool unread;
    std::string expected;
};

const ClipboardCase ClipboardCases[] = {
    {"unavailable", MemoryClipboardState::Unavailable, "", true, "cannot open clipboard!\r\n"},
    {"no text", MemoryClipboardState::Empty, "", true, "no text data in clipboard available!\r\n"},
    {"text without a marker", MemoryClipboardState::HasText, "ATZ\r\nOK\r\n", true,
     "no statistics data in clipboard available!\r\n"},
    {"text before the marker is ignored", MemoryClipboardState::HasText,
     "abc DIAG <2A4D3263 0=10>\r\nOK", false, Rev10},
    {"the scan ends at OK", MemoryClipboardState::HasText,
     "DIAG <2A4D3263 0=10>\r\nOK\r\nDIAG <2A4D3263 1=0>\r\n", false, Rev10},
    {"the copy begins at the spaced marker", MemoryClipboardState::HasText,
     "DIAG<2A4D3263 1=0>\r\nDIAG <2A4D3263 0=10>\r\nOK\r\n", false, Rev10},
    {"unspaced marker alone", MemoryClipboardState::HasText, "x DIAG<2A4D3263 0=10>", false, Rev10},
    {"marker directly followed by '>'", MemoryClipboardState::HasText, "DIAG <2A4D3263 >", false,
     NoData},
    {"messages come before the report", MemoryClipboardState::HasText,
     "DIAG <2A4D3263 60=3C 7F=1 0=10>", false,
     std::string("unrecognized key 7f!\r\n") + Rev10 +
         "Termination Cause              : Carrier Lost\r\n"},
};

TEST_F(DecodeReport, ClipboardSource) {
    for (const ClipboardCase& c : ClipboardCases) {
        SCOPED_TRACE(c.name);
        setTestClipboard(c.state, c.text);
        bool unread = false;
        EXPECT_EQ(c.expected, decodeClipboard(&unread));
        EXPECT_EQ(c.unread, unread);
        if (c.state != MemoryClipboardState::Unavailable) {  // else someone else holds it
            EXPECT_FALSE(testClipboardLeftOpen());
        }
    }
}

// Another program may leave a text block with no zero in it: the text ends
// at the block's end, or at a zero before it. (Wine puts a zero into the last
// byte itself, so each block's last byte changes nothing.)
TEST_F(DecodeReport, ClipboardTextEndsWithItsBlock) {
    using namespace std::string_literals;
    struct Case {
        const char* name;
        std::string bytes;
        std::string expected;
    };
    const Case cases[] = {
        {"block without a zero", "DIAG <2A4D3263 0=10 1=0 ", std::string(Rev10) + CallSetup0},
        {"text after a zero", "DIAG <2A4D3263 0=10>\0DIAG <2A4D3263 1=0>"s, Rev10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(setTestClipboardBlock(c.bytes));
        bool unread = true;
        EXPECT_EQ(c.expected, decodeClipboard(&unread));
        EXPECT_FALSE(unread);
    }
}

}  // namespace

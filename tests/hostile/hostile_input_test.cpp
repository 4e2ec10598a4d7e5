// Hostile inputs: megabyte lines, a 100 MB capture, logs of nothing but
// markers, a million unknown keys, NUL and 0x1A bytes, lines at the chunk
// size, values far longer than any formatted line, and a 50 MB clipboard.
// Each test checks the exact decoding, not merely that the run survives.

#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "hostile_support.h"

namespace {

constexpr std::size_t CaptureMegabytes = 100;
constexpr std::size_t ClipboardMegabytes = 50;
constexpr std::size_t UnknownKeyCount = 1000000;

constexpr std::size_t Megabyte = 1 << 20;
// A log is read in chunks of at most this many characters.
constexpr std::size_t ChunkSize = 511;

const char Marker[] = "DIAG <2A4D3263 ";
const char UnspacedMarker[] = "DIAG<2A4D3263 ";

const std::string WorkedBlock = "DIAG <2A4D3263 0=10 1=0 2=0 3=0 11=1A 10=1C 60=3C>\r\nOK\r\n";

const std::string Revision10 = reportLine("Diag Command Specification rev.", "1.0");
const std::string CallSetup0 = reportLine("Call Setup Result code", "No previous call");
const std::string NoData = "no recognizable data found!";

template <class Case>
std::string caseName(const ::testing::TestParamInfo<Case>& tested) {
    return tested.param.name;
}

// gtest would print a case as raw bytes, padding included; its name says more.
template <class Case>
void printCase(const Case& tested, std::ostream* os) {
    *os << tested.name;
}

std::string manufacturerLine(const std::string& value) {
    return reportLine("Manufacturer key", value);
}

std::vector<std::string> workedReport() {
    return {Revision10,
            CallSetup0,
            reportLine("Multi-media mode", "Data Only"),
            reportLine("DTE-DCE interface mode", "Async data"),
            reportLine("TX/RX signal power level, -dBm", "26/28"),
            reportLine("Termination Cause", "Carrier Lost")};
}

std::string joinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

// About a megabyte of what a terminal shows around modem calls: result codes
// (OK among them), a line longer than a chunk, and marker look-alikes that
// do not open a block. A clipboard copy would begin at a marker in the
// middle of a line, so the clipboard's capture leaves that look-alike out.
std::string terminalCapture(bool midLineMarker = true) {
    static const char* const Lines[] = {
        "ATZ",
        "OK",
        "AT&F1E1V1",
        "OK",
        "ATDT5551234",
        "CONNECT 33600/ARQ/V34/LAPM/V42BIS",
        "",
        "login: guest",
        "Last login: Tue Dec  8 00:41:27 on ttyS0",
        " 00:42:01 up 3 days,  2:14,  1 user,  load average: 0.08, 0.03, 0.01",
        "+++",
        "OK",
        "ATH0",
        "NO CARRIER",
        "xyz DIAG <2A4D3263 0=20>",
        "DIAG <2A4D3263 >",
        "DIAG <2A4D3263>",
        "DIAG<2A4D3263>",
        "diag <2a4d3263 0=20>",
        "  DIAG  <2A4D3263 0=20>",
    };
    std::string longLine;
    while (longLine.size() < 700) {
        longLine += "drwxr-xr-x 2 user user 4096 ";
    }
    std::string capture;
    while (capture.size() < Megabyte) {
        for (const char* line : Lines) {
            if (!midLineMarker && std::string(line).find(Marker) != std::string::npos &&
                std::string(line).find(Marker) != 0) {
                continue;
            }
            capture += line;
            capture += "\r\n";
        }
        capture += longLine + "\r\n";
    }
    return capture;
}

// A line of markers back to back, about a megabyte long. A chunk opens a
// block only where, after its leading spaces, it begins on a whole marker:
// where it starts on a marker or on the space that ends one. The first token
// after the marker, "DIAG", reads as key 0xD, which is unknown.
struct BackToBackCase {
    const char* name;
    std::string marker;
    // What one chunk that opens a block gives.
    std::vector<std::string> perBlock;
};

void PrintTo(const BackToBackCase& tested, std::ostream* os) {
    printCase(tested, os);
}

class BackToBackMarkers : public ::testing::TestWithParam<BackToBackCase> {};

bool chunkOpensBlock(const std::string& line, std::size_t start, const std::string& marker) {
    while (start < line.size() && line[start] == ' ') {
        ++start;
    }
    return line.compare(start, marker.size(), marker) == 0;
}

TEST_P(BackToBackMarkers, OnlyChunksStartingOnAMarkerOpenABlock) {
    const std::string& marker = GetParam().marker;
    std::string line;
    // A short last chunk must not open a block: it would give less.
    while (line.size() < Megabyte ||
           chunkOpensBlock(line, line.size() / ChunkSize * ChunkSize, marker)) {
        line += marker;
    }
    std::string expected;
    std::size_t blocks = 0;
    for (std::size_t start = 0; start < line.size(); start += ChunkSize) {
        if (chunkOpensBlock(line, start, marker)) {
            ++blocks;
            for (const std::string& message : GetParam().perBlock) {
                expected += message + "\r\n";
            }
        }
    }
    ASSERT_GT(blocks, 10u);
    EXPECT_TRUE(sameText(decodeBytes(line + "\n"), expected));
}

// After the spaced marker, "<2A4D3263" reads as key 0 with no "=" after it.
// The unspaced marker has no space before "<", so each of the 36 tokens in
// the 497 characters after it (the last one cut to "DIAG<2A") is key 0xD.
INSTANTIATE_TEST_SUITE_P(
    HostileInput, BackToBackMarkers,
    ::testing::Values(BackToBackCase{"Spaced",
                                     Marker,
                                     {"unrecognized key d!",
                                      "unrecognized format 'DIAG <2A4D3263 DIAG'!"}},
                      BackToBackCase{"Unspaced", UnspacedMarker,
                                     std::vector<std::string>(36, "unrecognized key d!")}),
    caseName<BackToBackCase>);

struct LogCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> expected;
};

void PrintTo(const LogCase& tested, std::ostream* os) {
    printCase(tested, os);
}

class HostileLog : public ::testing::TestWithParam<LogCase> {};

TEST_P(HostileLog, DecodesExactly) {
    EXPECT_TRUE(sameText(decodeBytes(GetParam().bytes), joinLines(GetParam().expected)));
}

std::string markerLines(std::size_t repeats) {
    std::string log;
    for (std::size_t i = 0; i < repeats; ++i) {
        log += "DIAG <2A4D3263 \nDIAG<2A4D3263 \r\nDIAG <2A4D3263 >\nDIAG <2A4D3263>\n";
        log += "DIAG <2A4D3263\n\tDIAG <2A4D3263 \t\r\nOK\n";
    }
    return log;
}

// Tokens "80=0000 ", "80=0001 ", ...: each a new manufacturer value, 8
// characters, so exactly 62 of them follow the marker in the first chunk.
std::string manufacturerTokens(std::size_t length) {
    std::string tokens;
    char token[16];
    for (unsigned i = 0; tokens.size() < length; ++i) {
        std::snprintf(token, sizeof token, "80=%04X ", i & 0xFFFFu);
        tokens += token;
    }
    return tokens;
}

// A block line of exactly length characters whose last token is a
// manufacturer value running to the end: marker, "0=10 80=", pattern.
std::string blockLineOfLength(std::size_t length) {
    const std::string head = std::string(Marker) + "0=10 80=";
    return head + hexPattern(length - head.size());
}

// The manufacturer value of blockLineOfLength, cut where the first chunk ends.
std::string valueInFirstChunk(std::size_t length) {
    const std::size_t head = std::string(Marker).size() + 8;
    return hexPattern((length < ChunkSize ? length : ChunkSize) - head);
}

const LogCase LogCases[] = {
    {"MegabyteLineWithoutMarkerThenABlock",
     std::string(Megabyte, 'x') + "\nDIAG <2A4D3263 0=10>\nOK\n",
     {Revision10}},
    {"MegabyteLineWithoutMarkerAlone", std::string(Megabyte, 'x'), {NoData}},
    // The run of 'a' is one token cut at the chunk's end: all hex digits, so
    // it overflows to key ffffffff. The rest of the line opens no block.
    {"MegabyteLineWithMarkerAtStart",
     std::string(Marker) + "0=10 1=0 " + std::string(Megabyte, 'a') + "\nOK\nDIAG <2A4D3263 2=1>\n",
     {"unrecognized key ffffffff!", Revision10, CallSetup0}},
    {"MegabyteLineOfTokens",
     std::string(Marker) + manufacturerTokens(Megabyte) + "\nOK\n",
     {manufacturerLine("003D")}},
    {"NothingButMarkers", markerLines(20000), {NoData}},
    {"OkLinesAmongMarkersDoNotEndTheScan",
     markerLines(2000) + "DIAG <2A4D3263 0=10>\nOK\n",
     {Revision10}},

    {"LineOf510CharactersIsOneChunk",
     blockLineOfLength(510) + "\nOK\n",
     {Revision10, manufacturerLine(valueInFirstChunk(510))}},
    {"LineOf511CharactersIsOneChunk",
     blockLineOfLength(511) + "\nOK\n",
     {Revision10, manufacturerLine(valueInFirstChunk(511))}},
    {"LineOf511CharactersWithCrLf",
     blockLineOfLength(511) + "\r\nOK\r\n",
     {Revision10, manufacturerLine(valueInFirstChunk(511))}},
    {"LineOf512CharactersLosesItsLastCharacter",
     blockLineOfLength(512) + "\nOK\n",
     {Revision10, manufacturerLine(valueInFirstChunk(512))}},
    // Chunk two begins exactly on the second marker and is cut one character
    // short of its line's end, so its manufacturer value loses one digit.
    {"LineOf1023CharactersHoldsTwoBlocks",
     blockLineOfLength(511) + std::string(Marker) + "1=0 81=" + hexPattern(512 - 22) + "\nOK\n",
     {Revision10, CallSetup0, manufacturerLine(hexPattern(512 - 22 - 1))}},
    {"MarkerAfter511CharactersOpensABlock",
     std::string(ChunkSize, 'x') + "DIAG <2A4D3263 0=10>\nOK\n",
     {Revision10}},
    {"OkAfter511CharactersEndsTheScan",
     blockLineOfLength(511) + "OK" + std::string(600, 'y') + "\nDIAG <2A4D3263 1=0>\n",
     {Revision10, manufacturerLine(valueInFirstChunk(511))}},

    // A NUL ends the text of its chunk; the next chunk is read as usual.
    {"NulInsideABlockHidesTheRestOfItsChunk",
     literalBytes("DIAG <2A4D3263 0=10\0 1=0>\nDIAG <2A4D3263 3=0>\nOK\n"),
     {Revision10, reportLine("DTE-DCE interface mode", "Async data")}},
    {"NulAtTheStartHidesTheLine",
     literalBytes("\0DIAG <2A4D3263 0=10>\nDIAG <2A4D3263 1=0>\nOK\n"),
     {CallSetup0}},
    {"NulBeforeOkHidesTheEndWord",
     literalBytes("DIAG <2A4D3263 0=10>\n\0OK\nDIAG <2A4D3263 1=0>\nOK\n"),
     {Revision10, CallSetup0}},
    {"OnlyNulBytes", std::string(3 * ChunkSize, '\0'), {NoData}},

    // 0x1A ends a log for good, as Windows text mode reads it.
    {"CtrlZLineEndsTheLog", "DIAG <2A4D3263 0=10>\n\x1A\nDIAG <2A4D3263 1=0>\nOK\n", {Revision10}},
    {"CtrlZInsideATokenEndsTheLog",
     "DIAG <2A4D3263 0=10 1\x1A=0>\nOK\n",
     {"unrecognized format 'DIAG <2A4D3263 0=10'!", Revision10}},
    {"CtrlZInsideAValueEndsTheLog",
     "DIAG <2A4D3263 80=AB\x1A"
     "CD>\nOK\n",
     {manufacturerLine("AB")}},
    {"CtrlZFirstLeavesNothing",
     "\x1A"
     "DIAG <2A4D3263 0=10>\n",
     {NoData}},

    {"LongFirstTokenInAFormatMessage",
     std::string(Marker) + "1" + std::string(480, 'x') + " 0=10>\n",
     {"unrecognized format '" + std::string(Marker) + "1" + std::string(480, 'x') + "'!"}},
    {"LongKeyOverflows",
     std::string(Marker) + "99" + hexPattern(480) + "=1 0=10>\n",
     {"unrecognized key ffffffff!", Revision10}},
};

INSTANTIATE_TEST_SUITE_P(HostileInput, HostileLog, ::testing::ValuesIn(LogCases),
                         caseName<LogCase>);

TEST(HostileInput, HundredMegabyteCaptureWithTheReportAtItsEnd) {
    const std::string capture = terminalCapture();
    ScratchFile log;
    log.write("");
    for (std::size_t written = 0; written < CaptureMegabytes * Megabyte;
         written += capture.size()) {
        log.append(capture);
    }
    log.append("AT*VXD\r\n" + WorkedBlock + "DIAG <2A4D3263 12=30>\r\nOK\r\n");
    EXPECT_TRUE(sameText(decodeFile(log.path()), joinLines(workedReport())));
}

TEST(HostileInput, MillionUnknownKeysGiveOneMessageEach) {
    struct UnknownKey {
        const char* token;
        const char* shown;
    };
    static const UnknownKey Keys[] = {
        {"6=1", "6"},
        {"19=1", "19"},
        {"28=0", "28"},
        {"46=FF", "46"},
        {"5A=1", "5a"},
        {"62=1", "62"},
        {"7F=1", "7f"},
        {"100=1", "100"},
        {"-1=5", "ffffffff"},
        {"1FFFF=2", "1ffff"},
        {"100000000=5", "ffffffff"},
    };
    constexpr std::size_t TokensPerLine = 40;  // keeps every line inside one chunk
    std::string log;
    std::string expected;
    std::string line;
    for (std::size_t i = 0; i < UnknownKeyCount; ++i) {
        const UnknownKey& key = Keys[i % (sizeof Keys / sizeof Keys[0])];
        line += line.empty() ? std::string(Marker) : std::string(" ");
        line += key.token;
        expected += std::string("unrecognized key ") + key.shown + "!\r\n";
        if ((i + 1) % TokensPerLine == 0 || i + 1 == UnknownKeyCount) {
            ASSERT_LT(line.size() + 2, ChunkSize);
            log += line + ">\r\n";
            line.clear();
        }
    }
    log += "OK\r\n";
    EXPECT_TRUE(sameText(decodeBytes(log), expected));
}

TEST(HostileInput, SecondRunOnTheSameStreamMeetsTheCtrlZAgain) {
    ScratchFile log;
    log.write(
        "DIAG <2A4D3263 0=10>\n\x1A"
        "DIAG <2A4D3263 1=0>\nOK\n");
    std::FILE* file = std::fopen(log.path().c_str(), "r");
    ASSERT_NE(nullptr, file);
    EXPECT_EQ(joinLines({Revision10}), decodeStream(file));
    EXPECT_EQ(joinLines({NoData}), decodeStream(file));
    std::fclose(file);
}

// Clipboard texts are scanned whole, without chunks, so values and the
// quoted first token of a format message can be as long as the text.
struct ClipboardCase {
    const char* name;
    std::string text;
    const char* prefix;
    bool unread;  // the clipboard gave nothing to scan
    std::vector<std::string> expected;
};

void PrintTo(const ClipboardCase& tested, std::ostream* os) {
    printCase(tested, os);
}

class HostileClipboard : public ::testing::TestWithParam<ClipboardCase> {};

TEST_P(HostileClipboard, DecodesExactly) {
    const ClipboardCase& c = GetParam();
    const ClipboardRun run = decodeClipboard(c.text, c.prefix);
    EXPECT_EQ(c.unread, run.unread);
    std::string expected;
    for (const std::string& line : c.expected) {
        expected += c.prefix + line + "\r\n";
    }
    EXPECT_TRUE(sameText(run.text, expected));
    EXPECT_FALSE(run.leftOpen);
}

const std::string Long600 = hexPattern(600);
const std::string Slashed300 = std::string(150, '1') + "/" + std::string(149, '2');

const ClipboardCase ClipboardCases[] = {
    {"ValueOf600Characters",
     std::string(Marker) + "80=" + Long600 + ">\r\nOK",
     "",
     false,
     {manufacturerLine(Long600)}},
    {"ValueOf600CharactersWithPrefix",
     std::string(Marker) + "80=" + Long600 + ">",
     "modem ",
     false,
     {manufacturerLine(Long600)}},
    {"PairOfLongValuesWithSlashes",
     std::string(Marker) + "4=" + Slashed300 + " 5=" + Long600 + ">",
     "",
     false,
     {reportLine("V.8 CM/JM octet string", Slashed300 + " / " + Long600)}},
    {"FormatMessageQuotesALongFirstToken",
     std::string(Marker) + "80=" + Long600 + " 12 34>",
     "",
     false,
     {"unrecognized format '" + std::string(Marker) + "80=" + Long600 + "'!",
      manufacturerLine(Long600)}},
    {"FormatMessageForALongBadToken",
     std::string(Marker) + "1" + std::string(900, 'x') + ">",
     "",
     false,
     {"unrecognized format '" + std::string(Marker) + "1" + std::string(900, 'x') + "'!"}},
    {"LongKeyOverflows",
     std::string(Marker) + "99" + hexPattern(900) + "=1>",
     "",
     false,
     {"unrecognized key ffffffff!"}},
    // Without chunks the second marker stays inside the first value.
    {"LineOf1023CharactersIsOneLine",
     blockLineOfLength(511) + std::string(Marker) + "1=0 81=" + hexPattern(490) + ">",
     "",
     false,
     {"unrecognized format 'DIAG <2A4D3263 0=10'!", Revision10,
      manufacturerLine(valueInFirstChunk(511) + "DIAG")}},
    {"NulEndsTheText",
     literalBytes("DIAG <2A4D3263 0=10>\0DIAG <2A4D3263 1=0>"),
     "",
     false,
     {Revision10}},
    {"NulBeforeTheMarker",
     literalBytes("\0DIAG <2A4D3263 0=10>"),
     "",
     true,
     {"no statistics data in clipboard available!"}},
    {"CtrlZIsAnOrdinaryCharacter",
     "DIAG <2A4D3263 80=AB\x1A"
     "CD>\r\nOK",
     "",
     false,
     {manufacturerLine("AB\x1A"
                       "CD")}},
};

INSTANTIATE_TEST_SUITE_P(HostileInput, HostileClipboard, ::testing::ValuesIn(ClipboardCases),
                         caseName<ClipboardCase>);

// The copy begins at the first "DIAG <2A4D3263 >" and is 50 MB long; no block
// comes before the report, so the OK lines do not end the scan.
TEST(HostileInput, FiftyMegabyteClipboardWithTheReportAtItsEnd) {
    const std::string capture = terminalCapture(false);
    std::string text;
    text.reserve(ClipboardMegabytes * Megabyte + capture.size() + 200);
    while (text.size() < ClipboardMegabytes * Megabyte) {
        text += capture;
    }
    text += WorkedBlock;
    const ClipboardRun run = decodeClipboard(text);
    EXPECT_FALSE(run.unread);
    EXPECT_TRUE(sameText(run.text, joinLines(workedReport())));
    EXPECT_FALSE(run.leftOpen);
}

// From its first block on, the whole text is scanned: the second block, 50 MB
// later, still counts, since no line in between begins with "OK".
TEST(HostileInput, FiftyMegabyteClipboardBetweenTwoBlocks) {
    std::string filler;
    while (filler.size() < Megabyte) {
        filler += "CONNECT 33600/ARQ\r\n ok, not the end word\r\nNO CARRIER\r\n";
    }
    std::string text = "DIAG <2A4D3263 0=10 1=0 2=0 3=0 11=1A 10=1C 60=3C>\r\n";
    text.reserve(ClipboardMegabytes * Megabyte + filler.size() + 200);
    while (text.size() < ClipboardMegabytes * Megabyte) {
        text += filler;
    }
    text += "DIAG <2A4D3263 12=30>\r\nOK\r\nDIAG <2A4D3263 13=1>\r\n";
    std::vector<std::string> expected = workedReport();
    expected.insert(expected.begin() + 5, reportLine("Estimated noise level, -dBm", "48"));
    const ClipboardRun run = decodeClipboard(text);
    EXPECT_FALSE(run.unread);
    EXPECT_TRUE(sameText(run.text, joinLines(expected)));
}

}  // namespace

#include "report_collector.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "decoding_run.h"
#include "file_bytes.h"
#include "system_clipboard.h"
#include "test_support.h"

namespace {

// One watched run: everything it handed out, and how it went.
struct WatchedRun : RecordingWriter {
    RunOutcome outcome;
};

// Over file, or with none the clipboard.
WatchedRun watch(std::FILE* file, ReportScope scope) {
    WatchedRun run;
    RunSettings settings;
    settings.scope = scope;
    SystemClipboard clipboard;
    run.outcome = file != nullptr ? decodeFile(file, settings, run)
                                  : decodeClipboard(clipboard, settings, run);
    return run;
}

WatchedRun watchLog(const std::string& bytes, ReportScope scope) {
    TempFile log(bytes);
    std::FILE* file = log.openText();
    EXPECT_NE(nullptr, file);
    WatchedRun run = watch(file, scope);
    std::fclose(file);
    return run;
}

const ReportLine* findLine(const DecodedReport& report, const char* label) {
    for (const ReportLine& line : report.lines) {
        if (std::string(line.label) == label) {
            return &line;
        }
    }
    return nullptr;
}

class CollectedReports : public ::testing::Test {
  protected:
    void TearDown() override { clearTestClipboard(); }
};

TEST_F(CollectedReports, LinesHoldValuesAndTheirTokens) {
    const WatchedRun run =
        watchLog("DIAG <2A4D3263 0x0=10 11 = 20 10=1C 22=D65 20=C 21=99 85=12AB F0=77>\nOK\n",
                 ReportScope::First);
    ASSERT_EQ(1u, run.reports.size());
    const DecodedReport& report = run.reports[0];
    ASSERT_EQ(5u, report.lines.size());

    const ReportLine& revision = report.lines[0];
    EXPECT_EQ(0, revision.entry);
    EXPECT_STREQ("Diag Command Specification rev.", revision.label);
    EXPECT_EQ(1, revision.valueCount);
    EXPECT_EQ("1.0", revision.values[0].value());
    EXPECT_EQ("0x0", revision.raw[0]->key);
    EXPECT_EQ("10", revision.raw[0]->value);

    // A value above its limit is a copied "NA": a value, not an empty slot.
    const ReportLine* power = findLine(report, "TX/RX signal power level, -dBm");
    ASSERT_NE(nullptr, power);
    EXPECT_EQ(2, power->valueCount);
    EXPECT_EQ("NA", power->values[0].value());
    EXPECT_EQ("11", power->raw[0]->key);
    EXPECT_EQ("20", power->raw[0]->value);
    EXPECT_EQ("28", power->values[1].value());

    // The second column never received a key.
    const ReportLine* symbolRate = findLine(report, "TX/RX Symbol Rate");
    ASSERT_NE(nullptr, symbolRate);
    EXPECT_EQ("3429", symbolRate->values[0].value());
    EXPECT_FALSE(symbolRate->values[1].has_value());
    EXPECT_FALSE(symbolRate->raw[1].has_value());

    // A code without a text empties the slot, yet the token stays known.
    const ReportLine* negotiation = findLine(report, "TX/RX Negotiation");
    ASSERT_NE(nullptr, negotiation);
    EXPECT_EQ("V.34", negotiation->values[0].value());
    EXPECT_FALSE(negotiation->values[1].has_value());
    ASSERT_TRUE(negotiation->raw[1].has_value());
    EXPECT_EQ("99", negotiation->raw[1]->value);

    // The last manufacturer key wins, and the token says which one it was.
    const ReportLine* manufacturer = findLine(report, "Manufacturer key");
    ASSERT_NE(nullptr, manufacturer);
    EXPECT_EQ("77", manufacturer->values[0].value());
    EXPECT_EQ("F0", manufacturer->raw[0]->key);
}

TEST_F(CollectedReports, DerivedLinesCarryTheBitFieldToken) {
    // fffe and ffff find entries but write nothing, so they must not show up
    // as the source of a line either.
    const WatchedRun run =
        watchLog("DIAG <2A4D3263 18=0 18=619630FA fffe=1 ffff=2>\n", ReportScope::First);
    const DecodedReport& report = run.reports.at(0);
    const char* const derived[] = {"Remote Power Drop support", "Freq offset Caller/Answer, Hz",
                                   "Preemphasis Index Caller/Answer", "V.34 Rate Asymmetry"};
    for (const char* label : derived) {
        SCOPED_TRACE(label);
        const ReportLine* line = findLine(report, label);
        ASSERT_NE(nullptr, line);
        for (int column = 0; column < line->valueCount; ++column) {
            ASSERT_TRUE(line->raw[column].has_value());
            EXPECT_EQ("18", line->raw[column]->key);
            EXPECT_EQ("619630FA", line->raw[column]->value);
        }
    }
    const ReportLine* offsets = findLine(report, "Freq offset Caller/Answer, Hz");
    EXPECT_EQ("-0.50", offsets->values[0].value());
    EXPECT_EQ("+5.00", offsets->values[1].value());
    EXPECT_EQ(4u, report.lines.size());
}

TEST_F(CollectedReports, MessagesAreTheBuffersMessageLines) {
    const WatchedRun run =
        watchLog("DIAG <2A4D3263 7f=1 0=10>\nDIAG <2A4D3263 1=0 2x=5\nOK\n", ReportScope::First);
    const std::vector<std::string> expected = {"unrecognized key 7f!",
                                               "unrecognized format 'DIAG <2A4D3263 1=0'!"};
    EXPECT_EQ(expected, run.messages.at(0));
    EXPECT_EQ(2u, run.reports[0].lines.size());

    const WatchedRun empty = watchLog("ATZ\nOK\n", ReportScope::Every);
    ASSERT_EQ(1u, empty.reports.size());
    EXPECT_EQ(std::vector<std::string>{"no recognizable data found!"}, empty.messages[0]);
    EXPECT_EQ(0u, empty.reports[0].line);
    EXPECT_TRUE(empty.reports[0].lines.empty());
}

// What a token list looks like in a failure message: key=value, "?" for an
// unknown key, "!" for a malformed value.
std::vector<std::string> tokenTexts(const ReportBlock& block) {
    std::vector<std::string> texts;
    for (const ReportToken& token : block.tokens) {
        texts.push_back(token.key + (token.value ? "=" + *token.value : "") +
                        (token.unknown ? "?" : "") + (token.malformed ? "!" : ""));
    }
    return texts;
}

TEST_F(CollectedReports, BlocksHoldEveryToken) {
    const WatchedRun run = watchLog(
        "ATZ\nDIAG <2A4D3263 0=10 7F=1 60=99 12=zz 7E = 1 fffe=2>\n"
        "DIAG <2A4D3263 1=0 12 34 5=6\nOK\n",
        ReportScope::First);
    const DecodedReport& report = run.reports.at(0);
    const std::vector<ReportBlock>& blocks = run.blocks.at(0);
    ASSERT_EQ(2u, blocks.size());
    EXPECT_EQ(2u, blocks[0].line);
    EXPECT_EQ((std::vector<std::string>{"0=10", "7F=1?", "60=99", "12=zz!", "7E?", "=1", "fffe=2"}),
              tokenTexts(blocks[0]));
    EXPECT_FALSE(blocks[0].unparsed.has_value());
    EXPECT_EQ(3u, blocks[1].line);
    EXPECT_EQ(std::vector<std::string>{"1=0"}, tokenTexts(blocks[1]));
    EXPECT_EQ("12 34 5=6", blocks[1].unparsed.value_or("none"));

    // 60=99 has no text and shows no line; the noise level shows the 0 that
    // "zz" reads as, marked.
    EXPECT_EQ(nullptr, findLine(report, "Termination Cause"));
    const ReportLine* noise = findLine(report, "Estimated noise level, -dBm");
    ASSERT_NE(nullptr, noise);
    EXPECT_EQ("0", noise->values[0].value());
    EXPECT_TRUE(noise->raw[0]->malformed);
    EXPECT_FALSE(findLine(report, "Call Setup Result code")->raw[0]->malformed);
}

// A report's blocks keep their storage for the next report's: nothing of
// one report's tokens stays in the next one's.
TEST_F(CollectedReports, BlocksHoldOnlyTheirOwnReportsTokens) {
    const WatchedRun run = watchLog(
        "DIAG <2A4D3263 0=zz 7F=1 60=3C 12 34>\nDIAG <2A4D3263 1=2>\nOK\n"
        "DIAG <2A4D3263 7F 0=10>\nOK\n",
        ReportScope::Every);
    ASSERT_EQ(2u, run.blocks.size());
    EXPECT_EQ("12 34", run.blocks[0].at(0).unparsed.value_or("none"));
    ASSERT_EQ(1u, run.blocks[1].size());
    EXPECT_EQ((std::vector<std::string>{"7F?", "0=10"}), tokenTexts(run.blocks[1][0]));
    EXPECT_FALSE(run.blocks[1][0].unparsed.has_value());
    ASSERT_EQ(1u, run.reports[1].lines.size());
    const std::optional<ReportToken>& raw = run.reports[1].lines[0].raw[0];
    ASSERT_TRUE(raw.has_value());
    EXPECT_EQ("0=10", raw->key + "=" + raw->value.value_or(""));
    EXPECT_FALSE(raw->malformed);
}

struct EveryCase {
    const char* name;
    std::string input;
    std::vector<std::size_t> lines;  // where each report began
    std::vector<bool> complete;      // whether each one's OK arrived
};

const std::string LongLine = "DIAG <2A4D3263 0=10" + std::string(600, ' ') + "\n";
const char NulLog[] = "x\0y\nDIAG <2A4D3263 0=10>\nOK\nDIAG <2A4D3263 0=10>\n";

const EveryCase EveryCases[] = {
    {"two reports",
     "AT*VXD\r\nDIAG <2A4D3263 0=10>\r\nOK\r\n\r\nAT*VXD\r\nDIAG <2A4D3263 1=0>\r\nOK\r\n",
     {2, 6},
     {true, true}},
    {"blocks without OK are one report",
     "DIAG <2A4D3263 0=10>\nDIAG <2A4D3263 1=0>\n",
     {1},
     {false}},
    {"a report after OK on the same line",
     "DIAG <2A4D3263 0=10>OK>DIAG <2A4D3263 1=0>\n",
     {1, 1},
     {true, false}},
    {"OK before any block ends nothing", "OK\nOK\nDIAG <2A4D3263 0=10>\nOK\nOK\n", {3}, {true}},
    {"a line cut into chunks is one line",
     LongLine + "OK\nDIAG <2A4D3263 0=10>\n",
     {1, 3},
     {true, false}},
    {"a NUL byte does not hide the line end",
     std::string(NulLog, sizeof NulLog - 1),
     {2, 4},
     {true, false}},
    {"a lone CR is no line end",
     "x\rDIAG <2A4D3263 0=10>\nOK\nDIAG <2A4D3263 0=10>\n",
     {1, 3},
     {true, false}},
    {"text after the last report gives nothing",
     "DIAG <2A4D3263 0=10>\nOK\nATH\nOK\n",
     {1},
     {true}},
    {"no block at all is no cut-off report", "ATZ\n", {0}, {true}},
};

TEST_F(CollectedReports, EveryReportAndWhereItBegan) {
    for (const EveryCase& c : EveryCases) {
        SCOPED_TRACE(c.name);
        const WatchedRun run = watchLog(c.input, ReportScope::Every);
        EXPECT_FALSE(run.outcome.clipboardUnread);
        std::vector<std::size_t> lines;
        std::vector<bool> complete;
        for (std::size_t i = 0; i < run.reports.size(); ++i) {
            EXPECT_EQ(static_cast<int>(i + 1), run.reports[i].number);
            lines.push_back(run.reports[i].line);
            complete.push_back(run.reports[i].complete());
        }
        EXPECT_EQ(c.lines, lines);
        EXPECT_EQ(c.complete, complete);
    }
}

TEST_F(CollectedReports, EachReportStartsEmpty) {
    const WatchedRun run = watchLog(
        "DIAG <2A4D3263 0=10 60=3C 7F=1>\nOK\nDIAG <2A4D3263 1=0>\nOK\n", ReportScope::Every);
    ASSERT_EQ(2u, run.reportTexts.size());
    EXPECT_EQ(decodeLog("DIAG <2A4D3263 1=0>\nOK\n"), run.reportTexts[1]);
    EXPECT_TRUE(run.messages[1].empty());
    ASSERT_EQ(1u, run.reports[1].lines.size());
    EXPECT_EQ("1", run.reports[1].lines[0].raw[0]->key);
}

TEST_F(CollectedReports, ClipboardLinesCountFromTheClipboardsStart) {
    setTestClipboard(MemoryClipboardState::HasText,
                     "ATZ\r\nOK\r\nAT*VXD\r\nDIAG <2A4D3263 0=10>\r\nOK\r\n\r\n"
                     "DIAG <2A4D3263 1=0>\r\nDIAG <2A4D3263 2=0>\r\n");
    const WatchedRun run = watch(nullptr, ReportScope::Every);
    EXPECT_FALSE(run.outcome.clipboardUnread);
    ASSERT_EQ(2u, run.reports.size());
    EXPECT_EQ(4u, run.reports[0].line);
    EXPECT_EQ(7u, run.reports[1].line);
    EXPECT_EQ(2u, run.reports[1].lines.size());
}

struct ClipboardFailure {
    MemoryClipboardState state;
    const char* text;
    const char* message;
};

TEST_F(CollectedReports, ClipboardFailureIsOneReportWithItsMessage) {
    const ClipboardFailure cases[] = {
        {MemoryClipboardState::Unavailable, "", "cannot open clipboard!"},
        {MemoryClipboardState::Empty, "", "no text data in clipboard available!"},
        {MemoryClipboardState::HasText, "ATZ\r\nOK\r\n",
         "no statistics data in clipboard available!"},
    };
    for (const ClipboardFailure& c : cases) {
        SCOPED_TRACE(c.message);
        setTestClipboard(c.state, c.text);
        const WatchedRun run = watch(nullptr, ReportScope::Every);
        EXPECT_TRUE(run.outcome.clipboardUnread);
        ASSERT_EQ(1u, run.reports.size());
        EXPECT_EQ(std::vector<std::string>{c.message}, run.messages[0]);
        EXPECT_EQ(std::string(c.message) + "\r\n", run.reportTexts[0]);
        if (c.state != MemoryClipboardState::Unavailable) {
            EXPECT_FALSE(testClipboardLeftOpen());
        }
    }
}

#ifndef _WIN32
// Windows has no character device a test can fill with input.
TEST_F(CollectedReports, DevicesAreStreams) {
    std::FILE* device = openCharacterDeviceHolding("DIAG <2A4D3263 0=10>\nOK\n");
    ASSERT_NE(nullptr, device);
    setTestClipboard(MemoryClipboardState::HasText, "DIAG <2A4D3263 1=0>");
    RecordingWriter writer;
    decodeFile(device, RunSettings(), writer);
    std::fclose(device);
    ASSERT_EQ(1u, writer.reports.size());
    EXPECT_TRUE(writer.reports[0].complete());
    EXPECT_EQ("Diag Command Specification rev.: 1.0\r\n", writer.text);
}
#endif

TEST_F(CollectedReports, ClipboardLinesCountFromItsStart) {
    setTestClipboard(MemoryClipboardState::HasText, "DIAG <2A4D3263 0=10>");
    const WatchedRun run = watch(nullptr, ReportScope::First);
    ASSERT_EQ(1u, run.reports.size());
    EXPECT_EQ(1u, run.reports[0].line);
    EXPECT_EQ("Diag Command Specification rev.: 1.0\r\n", run.reportTexts[0]);
}

}  // namespace

// Captures damaged as lines and loggers damage them, made from our own
// examples: one row per kind of damage, with the reports the loose reading
// makes of it and the place where the window's reading loses a call.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "decoding_run.h"
#include "file_bytes.h"
#include "test_support.h"

namespace {

std::string example(const char* name) {
    std::ifstream file(std::string(VEXA_EXAMPLES_DIR) + "/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(std::string::npos, at) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

struct DamageRow {
    const char* name;
    std::string capture;
    const char* sameAs;        // the example the loose reading gives the reports of
    std::string extraMessage;  // the loose reading's message for the repair
    CutReason firstCut;        // how the loose reading's first report ends
    DropKind windowDrop;       // what the window's reading notes, and where
    std::size_t dropLine;
};

struct Decoded {
    RecordingWriter writer;
    RunOutcome outcome;
};

void decode(const std::string& bytes, bool loose, Decoded& decoded) {
    TempFile file(bytes);
    std::FILE* stream = file.openText();
    ASSERT_NE(nullptr, stream);
    RunSettings settings;
    settings.scope = ReportScope::Every;
    settings.looseReading = loose;
    settings.looseMarkers = loose;
    settings.noteDrops = !loose;
    decoded.outcome = decodeFile(stream, settings, decoded.writer);
    std::fclose(stream);
}

TEST(DamagedCaptures, LooseReadsEveryCallAndTheWindowSaysWhereItLosesOne) {
    const std::string two = example("two-reports.log");
    const std::string v34 = example("v34-call.log");
    const DamageRow rows[] = {
        {"OK lost between two calls", replaced(two, "60=3C>\r\nOK\r\n", "60=3C>\r\n"),
         "two-reports.log", "", CutReason::NextCall, DropKind::MergedCall, 11},
        {"ok in lower case", replaced(two, "60=3C>\r\nOK\r\n", "60=3C>\r\nok\r\n"),
         "two-reports.log", "", CutReason::None, DropKind::MergedCall, 12},
        {"OK in colour codes", replaced(two, "60=3C>\r\nOK\r\n", "60=3C>\r\n\x1B[32mOK\x1B[0m\r\n"),
         "two-reports.log", "loose reading: colour and escape sequences removed in line 7!",
         CutReason::None, DropKind::MergedCall, 12},
        {"a damaged byte in a marker", replaced(v34, "DIAG <2A4D3263 0=", "DIAG <2A4D3?63 0="),
         "v34-call.log", "loose reading: damaged block markers read in line 13!", CutReason::None,
         DropKind::DamagedMarker, 13},
        {"a doubled space after DIAG", replaced(v34, "DIAG <2A4D3263 0=", "DIAG  <2A4D3263 0="),
         "v34-call.log", "loose reading: damaged block markers read in line 13!", CutReason::None,
         DropKind::DamagedMarker, 13},
        {"diag in lower case", replaced(v34, "DIAG <2A4D3263 0=", "diag <2A4D3263 0="),
         "v34-call.log", "loose reading: damaged block markers read in line 13!", CutReason::None,
         DropKind::DamagedMarker, 13},
        {"a byte order mark before the first block",
         replaced(v34, "DIAG <2A4D3263 0=",
                  "\xEF\xBB\xBF"
                  "DIAG <2A4D3263 0="),
         "v34-call.log", "", CutReason::None, DropKind::MarkerInside, 13},
        {"a block that lost its line end to the OK before it",
         replaced(two,
                  "OK\r\nATDT5550187\r\nCONNECT 14400/ARQ/V32/LAPM\r\nNO CARRIER\r\nAT*VXD\r\n",
                  "OK"),
         "two-reports.log", "", CutReason::None, DropKind::MarkerInside, 7},
        {"time stamps",
         replaced(v34, "DIAG <2A4D3263 0=", "[2026-12-01 10:00:01.123] DIAG <2A4D3263 0="),
         "v34-call.log", "loose reading: time stamps removed from line starts in line 13!",
         CutReason::None, DropKind::MarkerInside, 13},
    };
    for (const DamageRow& row : rows) {
        SCOPED_TRACE(row.name);
        Decoded clean;
        decode(example(row.sameAs), true, clean);
        Decoded loose;
        decode(row.capture, true, loose);
        ASSERT_EQ(clean.writer.reports.size(), loose.writer.reports.size());
        EXPECT_EQ(row.firstCut, loose.writer.reports[0].cutReason);
        for (std::size_t i = 0; i < clean.writer.reports.size(); ++i) {
            std::string expected = clean.writer.reportTexts[i];
            if (i == 0 && !row.extraMessage.empty()) {
                expected = row.extraMessage + "\r\n" + expected;
            }
            EXPECT_EQ(expected, loose.writer.reportTexts[i]) << "report " << i + 1;
        }

        Decoded window;
        decode(row.capture, false, window);
        ASSERT_FALSE(window.outcome.drops.places.empty());
        EXPECT_EQ(row.windowDrop, window.outcome.drops.places[0].kind);
        EXPECT_EQ(row.dropLine, window.outcome.drops.places[0].line);
    }
}

}  // namespace

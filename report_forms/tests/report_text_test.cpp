#include "report_text.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "line_catalogue.h"
#include "report_collector.h"
#include "value_rendering.h"

namespace {

using KeyValues = std::vector<std::pair<std::uint32_t, const char*>>;

// The report lines' text, as the text writers make it.
class LineText : public ReportWriter {
  public:
    explicit LineText(const char* prefix) { style_.prefix = prefix; }
    void message(std::string_view) override {}
    void block(const ReportBlock&) override {}
    void report(const DecodedReport& report) override {
        for (const ReportLine& line : report.lines) {
            appendTextLine(style_, reportLineText(line), text);
            std::string direct;
            appendReportLine(style_, line, direct);
            EXPECT_EQ(text.substr(text.size() - direct.size()), direct);
        }
    }

    std::string text;

  private:
    LineStyle style_;
};

// The text of the report whose value slots received the values.
std::string compose(const KeyValues& values, const char* prefix = "") {
    ValueSlotTable slots;
    resetValueSlots(slots);
    for (const auto& [key, text] : values) {
        const auto location = findKeyEntry(key);
        EXPECT_TRUE(location.has_value());
        renderValue(slots, location->entry, location->column, key, text);
    }
    LineText writer(prefix);
    ReportCollector(writer).endReport(slots, 1, true, false);
    return writer.text;
}

std::string crlfLines(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

TEST(ReportText, LabelWidthIsTheLongestLabel) {
    EXPECT_EQ(31, labelWidth());
}

TEST(ReportText, WorkedExample) {
    const KeyValues values = {{0x00, "10"}, {0x01, "0"},  {0x02, "0"}, {0x03, "0"},
                              {0x11, "1A"}, {0x10, "1C"}, {0x60, "3C"}};
    EXPECT_EQ(crlfLines({
                  "Diag Command Specification rev.: 1.0",
                  "Call Setup Result code         : No previous call",
                  "Multi-media mode               : Data Only",
                  "DTE-DCE interface mode         : Async data",
                  "TX/RX signal power level, -dBm : 26/28",
                  "Termination Cause              : Carrier Lost",
              }),
              compose(values));
}

struct LineCase {
    const char* name;
    KeyValues values;
    const char* expected;  // the whole text, CR LF written as \r\n
};

const LineCase LineCases[] = {
    {"only the first of a pair", {{0x22, "D65"}}, "TX/RX Symbol Rate              : 3429/NA\r\n"},
    {"only the second of a pair", {{0x23, "D65"}}, "TX/RX Symbol Rate              : NA/3429\r\n"},
    {"slash in the first value",
     {{0x50, "2"}, {0x51, "0"}},
     "TX/RX flow control             : V.24 ckt 106/133 / off\r\n"},
    {"slash in the second value",
     {{0x50, "0"}, {0x51, "2"}},
     "TX/RX flow control             : off / V.24 ckt 106/133\r\n"},
    {"the label's slash does not count",
     {{0x40, "1"}, {0x44, "1"}},
     "Protocol/Compression           : V.42 LAPM/V.42bis\r\n"},
    {"code without a text next to a value",
     {{0x40, "80"}},
     "Protocol/Compression           : MNP10T/NA\r\n"},
    {"codes without texts on both sides", {{0x40, "7"}, {0x44, "7"}}, ""},
    {"single value without a text", {{0x01, "0C"}}, ""},
    {"single value above its limit", {{0x12, "65"}}, "Estimated noise level, -dBm    : NA\r\n"},
    {"derived lines, never the word's own",
     {{0x18, "619630FA"}},
     "Remote Power Drop support      : ON\r\n"
     "Freq offset Caller/Answer, Hz  : -0.50/+5.00\r\n"
     "Preemphasis Index Caller/Answer: 3/6\r\n"
     "V.34 Rate Asymmetry            : OFF\r\n"},
    {"catalogue order, not arrival order",
     {{0x60, "3C"}, {0x85, "AB"}, {0x00, "10"}},
     "Diag Command Specification rev.: 1.0\r\n"
     "Termination Cause              : Carrier Lost\r\n"
     "Manufacturer key               : AB\r\n"},
};

TEST(ReportText, Lines) {
    for (const LineCase& c : LineCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, compose(c.values));
    }
}

// Report lines have no length limit: a long verbatim value is shown whole.
TEST(ReportText, LongVerbatimValueIsNotCut) {
    const std::string value(600, 'E');
    const std::string expected = "Manufacturer key               : " + value + "\r\n";
    EXPECT_EQ(expected, compose({{0xE0, value.c_str()}}));
    const std::string pair = "V.8 CM/JM octet string         : " + value + "/" + value + "\r\n";
    EXPECT_EQ(pair, compose({{0x04, value.c_str()}, {0x05, value.c_str()}}));
}

TEST(ReportText, PrefixOnEveryLine) {
    EXPECT_EQ(
        "xx Diag Command Specification rev.: 1.0\r\n"
        "xx Termination Cause              : Carrier Lost\r\n",
        compose({{0x60, "3C"}, {0x00, "10"}}, "xx "));
}

// Lines a writer makes by hand, not from a catalogue entry: their label is
// padded as it stands, and the room asked for is never exceeded.
TEST(ReportText, HandMadeLinesWrittenInPlace) {
    const std::string longLabel(40, 'L');
    struct Case {
        int entry;
        const char* label;
        int valueCount;
        const char* first;   // null: no value
        const char* second;  // null: no value
        const char* prefix;
        std::string expected;
    };
    const Case cases[] = {
        {0, "Short", 1, "1.0", nullptr, "", "Short                          : 1.0\r\n"},
        {3, nullptr, 2, nullptr, "a/b", "p ", "p                                : NA / a/b\r\n"},
        {-1, longLabel.c_str(), 2, "x", nullptr, "", longLabel + ": x/NA\r\n"},
        {KeyEntryCount, "Beyond", 1, "", nullptr, "", "Beyond                         : \r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        ReportLine line;
        line.entry = c.entry;
        line.label = c.label;
        line.valueCount = c.valueCount;
        if (c.first != nullptr) {
            line.values[0] = c.first;
        }
        if (c.second != nullptr) {
            line.values[1] = c.second;
        }
        LineStyle style;
        style.prefix = c.prefix;
        const std::size_t room = reportLineRoom(style, line);
        std::string text(room, '#');
        text.resize(static_cast<std::size_t>(writeReportLine(style, line, &text[0]) - &text[0]));
        EXPECT_LE(text.size(), room);
        EXPECT_EQ(c.expected, text);
        std::string appended = "before";
        appendReportLine(style, line, appended);
        EXPECT_EQ("before" + c.expected, appended);
    }
}

}  // namespace

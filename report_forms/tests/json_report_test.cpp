#include "json_report.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <random>
#include <string>

#include "decoding_run.h"
#include "file_bytes.h"

namespace {

using nlohmann::json;

// The document as a reader gets it: its text, parsed.
json parsedDocument(const DecodedReport& report, const ReportDetails& details = ReportDetails(),
                    const JsonContext& context = JsonContext()) {
    return json::parse(reportDocument(report, details, context));
}

ReportLine pairLine(const char* label) {
    ReportLine line;
    line.label = label;
    line.valueCount = 2;
    return line;
}

TEST(JsonReport, EmptySlotIsNullButCopiedNaIsAValue) {
    DecodedReport report;
    ReportLine line = pairLine("TX/RX signal power level, -dBm");
    line.values[0] = "NA";
    line.raw[0] = ReportToken{"11", "20"};
    report.lines.push_back(line);

    const json lines = parsedDocument(report).at("lines");
    ASSERT_EQ(1u, lines.size());
    EXPECT_EQ("TX/RX signal power level, -dBm", lines[0].at("label"));
    EXPECT_EQ(json::parse(R"(["NA", null])"), lines[0].at("values"));
    EXPECT_EQ(json::parse(R"([{"key": "11", "value": "20"}, null])"), lines[0].at("raw"));
}

TEST(JsonReport, SingleValueLineHasOneSlot) {
    DecodedReport report;
    ReportLine line;
    line.label = "Termination Cause";
    line.values[0] = "Carrier Lost";
    line.values[1] = "never shown";  // column 1 of a one-value line is no slot
    line.raw[0] = ReportToken{"60", "3C"};
    report.lines.push_back(line);

    const json only = parsedDocument(report).at("lines").at(0);
    EXPECT_EQ(json::array({"Carrier Lost"}), only.at("values"));
    EXPECT_EQ(1u, only.at("raw").size());
}

struct DocumentCase {
    const char* name;
    std::size_t line;
    bool hasPrefix;
    const char* prefix;
    json expectedLine;
    json expectedPrefix;
};

TEST(JsonReport, DocumentFields) {
    const DocumentCase cases[] = {
        {"no block, no prefix", 0, false, "", nullptr, nullptr},
        {"a block on line 12, prefix", 12, true, "modem1", 12, "modem1"},
        {"the empty prefix is a prefix", 3, true, "", 3, ""},
    };
    for (const DocumentCase& c : cases) {
        SCOPED_TRACE(c.name);
        DecodedReport report;
        report.number = 4;
        report.line = c.line;
        ReportDetails details;
        details.messages = {"unrecognized key 7f!", "no recognizable data found!"};
        JsonContext context;
        context.source = "call.log";
        context.hasPrefix = c.hasPrefix;
        context.prefix = c.prefix;

        const json document = parsedDocument(report, details, context);
        EXPECT_EQ("call.log", document.at("source"));
        EXPECT_EQ(c.expectedPrefix, document.at("prefix"));
        EXPECT_EQ(4, document.at("report"));
        EXPECT_EQ(c.expectedLine, document.at("line"));
        EXPECT_EQ(json::array({"unrecognized key 7f!", "no recognizable data found!"}),
                  document.at("messages"));
        EXPECT_EQ(json::array(), document.at("lines"));
    }
}

TEST(JsonReport, CompletenessBlocksAndFlags) {
    DecodedReport report;
    report.cutReason = CutReason::InputEnded;
    ReportLine line;
    line.label = "Estimated noise level, -dBm";
    line.values[0] = "0";
    line.raw[0] = ReportToken{"12", "zz", false, true};
    report.lines.push_back(line);
    ReportBlock block;
    block.line = 7;
    ReportToken unknownWithoutValue;
    unknownWithoutValue.key = "7E";
    unknownWithoutValue.unknown = true;
    ReportToken malformed;
    malformed.key = "12";
    malformed.value = "zz";
    malformed.malformed = true;
    block.tokens = {unknownWithoutValue, malformed};
    block.unparsed = "23 D65";
    ReportDetails details;
    details.blocks.push_back(block);

    const json document = parsedDocument(report, details);
    EXPECT_EQ(false, document.at("complete"));
    EXPECT_EQ(json::parse(R"([{"key": "12", "value": "zz", "malformed": true}])"),
              document.at("lines")[0].at("raw"));
    EXPECT_EQ(json::parse(R"([{"line": 7, "unparsed": "23 D65", "tokens": [
                  {"key": "7E", "value": null, "unknown": true},
                  {"key": "12", "value": "zz", "malformed": true}]}])"),
              document.at("blocks"));
}

// Back from the parsed text to the bytes the report held.
std::string utf8ToLatin1(const std::string& utf8) {
    std::string bytes;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            bytes += static_cast<char>(c);
        } else {
            EXPECT_LT(i + 1, utf8.size());
            EXPECT_TRUE(c == 0xC2 || c == 0xC3) << "not a Latin-1 character";
            bytes += static_cast<char>(((c & 0x03) << 6) | (utf8[++i] & 0x3F));
        }
    }
    return bytes;
}

TEST(JsonReport, EveryByteSurvives) {
    std::string allBytes;
    for (int byte = 1; byte < 256; ++byte) {
        allBytes += static_cast<char>(byte);
    }
    DecodedReport report;
    ReportDetails details;
    details.messages = {"unrecognized format 'DIAG <2A4D3263 " + allBytes + "'!"};
    ReportLine line;
    line.label = "Manufacturer key";
    line.values[0] = allBytes;
    line.raw[0] = ReportToken{"\xFF", allBytes};
    report.lines.push_back(line);

    const json document = parsedDocument(report, details);
    EXPECT_EQ(allBytes, utf8ToLatin1(document.at("lines")[0].at("values")[0]));
    EXPECT_EQ("\xFF", utf8ToLatin1(document.at("lines")[0].at("raw")[0].at("key")));
    EXPECT_EQ(details.messages[0], utf8ToLatin1(document.at("messages")[0]));
}

// A file name's bytes come back: as they are when they are UTF-8, else by
// the text's rule, flagged.
TEST(JsonReport, SourceNamesRoundTrip) {
    const struct {
        const char* name;
        bool utf8;
    } cases[] = {
        {"plain.log", true},         {"caf\xC3\xA9.log", true},        {"caf\xE9.log", false},
        {"\xC0\xAFoverlong", false}, {"\xED\xA0\x80surrogate", false}, {"tab\tquote\"", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        JsonContext context;
        context.source = c.name;
        const json document = parsedDocument(DecodedReport(), ReportDetails(), context);
        const std::string source = document.at("source");
        EXPECT_EQ(c.name, c.utf8 ? source : utf8ToLatin1(source));
        EXPECT_EQ(!c.utf8, document.contains("sourceLatin1"));
    }
}

// The two layouts hold the same document.
TEST(JsonReport, PrettyAndCompactAgree) {
    ReportBlock block;
    block.line = 3;
    block.tokens = {ReportToken{"0", "10", false, false}, ReportToken{"7F", "3", true, false}};
    // The longest token for its bytes, many times: the room a block is
    // given holds them (checked where assertions are on).
    block.tokens.insert(block.tokens.end(), 50, ReportToken{"9", "", true, true});
    DecodedReport report;
    report.cutReason = CutReason::TimedOut;
    std::string texts[2];
    for (int pretty = 0; pretty < 2; ++pretty) {
        JsonReportText text(pretty != 0, 2);
        text.message("unrecognized key 7f!");
        text.block(block);
        text.block(block);
        text.document(report, JsonContext(), texts[pretty]);
    }
    EXPECT_EQ(nlohmann::ordered_json::parse(texts[0]).dump(), texts[0]);
    EXPECT_EQ(json::parse(texts[0]), json::parse(texts[1]));
    EXPECT_EQ("timeout", json::parse(texts[0]).at("reason"));
}

// Gathers a run's report into its document, as the JSON writers do.
class DocumentWriter : public ReportWriter {
  public:
    void message(std::string_view text) override { details_.messages.emplace_back(text); }
    void block(const ReportBlock& block) override { details_.blocks.push_back(block); }
    void report(const DecodedReport& report) override {
        document = json::parse(reportDocument(report, details_, JsonContext()));
    }

    json document;

  private:
    ReportDetails details_;
};

TEST(JsonReport, DecodedLogAsDocument) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("vexa-json-" + std::to_string(std::random_device{}()) + ".log");
    std::FILE* log = std::fopen(path.string().c_str(), "wb");
    ASSERT_NE(nullptr, log);
    std::fputs("ATZ\r\nOK\r\nDIAG <2A4D3263 0=10 11=1A 18=3FFFE400 20=C 21=99 7f=1>\r\nOK\r\n",
               log);
    std::fclose(log);

    std::FILE* file = std::fopen(path.string().c_str(), "r");
    ASSERT_NE(nullptr, file);
    DocumentWriter writer;
    decodeFile(file, RunSettings(), writer);
    std::fclose(file);
    std::filesystem::remove(path);
    const json& document = writer.document;

    EXPECT_EQ(3, document.at("line"));
    EXPECT_EQ(json::array({"unrecognized key 7f!"}), document.at("messages"));
    const json expectedLines = json::parse(R"([
        {"label": "Diag Command Specification rev.", "values": ["1.0"],
         "raw": [{"key": "0", "value": "10"}]},
        {"label": "TX/RX signal power level, -dBm", "values": ["26", null],
         "raw": [{"key": "11", "value": "1A"}, null]},
        {"label": "Remote Power Drop support", "values": ["OFF"],
         "raw": [{"key": "18", "value": "3FFFE400"}]},
        {"label": "Freq offset Caller/Answer, Hz", "values": ["NA", "0.00"],
         "raw": [{"key": "18", "value": "3FFFE400"}, {"key": "18", "value": "3FFFE400"}]},
        {"label": "Preemphasis Index Caller/Answer", "values": ["14", "NA"],
         "raw": [{"key": "18", "value": "3FFFE400"}, {"key": "18", "value": "3FFFE400"}]},
        {"label": "V.34 Rate Asymmetry", "values": ["ON"],
         "raw": [{"key": "18", "value": "3FFFE400"}]},
        {"label": "TX/RX Negotiation", "values": ["V.34", null],
         "raw": [{"key": "20", "value": "C"}, {"key": "21", "value": "99"}]}
    ])");
    EXPECT_EQ(expectedLines, document.at("lines"));
}

}  // namespace

#include "fleet_summary.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <random>
#include <string>

#include "decoding_run.h"
#include "file_bytes.h"
#include "summary_json.h"

namespace {

using nlohmann::json;

// A generated fleet whose every figure follows from the call's number n
// (0..20): input s (0..5) holds the s + 1 calls after those of the inputs
// before it, each an AT*VXD, one block and its OK on lines 3j + 1..3j + 3;
// the last call of all has no OK. A seventh input holds no report.
constexpr int Calls = 21;

int inputOf(int n) {
    int input = 0;
    while ((input + 1) * (input + 2) / 2 <= n) {
        ++input;
    }
    return input;
}

std::size_t lineOf(int n) {
    return static_cast<std::size_t>(3 * (n - inputOf(n) * (inputOf(n) + 1) / 2) + 2);
}

std::string hex(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%X", value);
    return text;
}

// Noise 10 + n (the last above its limit), RX rate 1000 * (n % 4), symbol
// rates 2400 + n and 3000 - n, retrains n % 5, the cause Dte Hangup Command
// every third call and Carrier Lost else, a compression without a text once,
// an unknown key once.
std::string callText(int n) {
    return "AT*VXD\r\nDIAG <2A4D3263 12=" + (n == 20 ? std::string("FFF") : hex(10 + n)) +
           " 35=" + hex(1000 * (n % 4)) + " 22=" + hex(2400 + n) + " 23=" + hex(3000 - n) +
           " 32=" + hex(n % 5) + " 60=" + (n % 3 == 0 ? "51" : "3C") +
           " 40=1 44=" + (n == 7 ? "7" : "1") + (n == 4 ? " 7f=1" : "") + ">\r\n" +
           (n == Calls - 1 ? "" : "OK\r\n");
}

std::string inputName(int input) {
    return "modem-" + std::to_string(input) + ".log";
}

// Feeds a fleet summary from decoding runs, as vexa-decode --summary does.
class SummaryFeed : public ReportWriter {
  public:
    explicit SummaryFeed(FleetSummary& summary) : summary_(summary) {}
    void message(std::string_view) override { summary_.message(); }
    void block(const ReportBlock&) override {}
    void report(const DecodedReport& report) override { summary_.report(report); }
    bool wantsTokens() const override { return false; }

  private:
    FleetSummary& summary_;
};

void decodeInto(FleetSummary& summary, const std::string& name, const std::string& log) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("vexa-fleet-" + std::to_string(std::random_device{}()) + ".log");
    std::FILE* file = std::fopen(path.string().c_str(), "wb");
    ASSERT_NE(nullptr, file);
    std::fwrite(log.data(), 1, log.size(), file);
    std::fclose(file);
    file = std::fopen(path.string().c_str(), "r");
    ASSERT_NE(nullptr, file);
    RunSettings settings;
    settings.scope = ReportScope::Every;
    SummaryFeed feed(summary);
    summary.beginSource(name);
    decodeFile(file, settings, feed);
    summary.endSource();
    std::fclose(file);
    std::filesystem::remove(path);
}

json generatedFleetSummary(bool keepSources = true) {
    FleetSummary summary(keepSources);
    int n = 0;
    for (int input = 0; input < 6; ++input) {
        std::string log;
        for (int call = 0; call <= input; ++call) {
            log += callText(n++);
        }
        decodeInto(summary, inputName(input), log);
    }
    decodeInto(summary, "empty.log", "ATZ\r\nOK\r\n");
    return json::parse(summaryDocument(summary, keepSources).dump());
}

const json& lineOfSummary(const json& lines, const char* label, const json& column) {
    for (const json& line : lines) {
        if (line.at("label") == label && line.at("column") == column) {
            return line;
        }
    }
    ADD_FAILURE() << "no line " << label;
    return lines;
}

// Where the calls of the given numbers stand, in that order.
json callsAt(std::initializer_list<int> numbers, const std::vector<int>& values) {
    json calls = json::array();
    std::size_t i = 0;
    for (const int n : numbers) {
        calls.push_back({{"source", inputName(inputOf(n))},
                         {"line", lineOf(n)},
                         {"report", n - inputOf(n) * (inputOf(n) + 1) / 2 + 1},
                         {"value", values[i++]}});
    }
    return calls;
}

TEST(FleetSummary, GeneratedFleet) {
    const json summary = generatedFleetSummary();

    EXPECT_EQ(json::parse(R"({"inputs": 7, "inputsWithoutReport": 1, "reports": 21,
                              "complete": 20, "cutOff": 1, "withMessages": 1})"),
              json({{"inputs", summary.at("inputs")},
                    {"inputsWithoutReport", summary.at("inputsWithoutReport")},
                    {"reports", summary.at("reports")},
                    {"complete", summary.at("complete")},
                    {"cutOff", summary.at("cutOff")},
                    {"withMessages", summary.at("withMessages")}}));

    const json& names = summary.at("names");
    EXPECT_EQ(json::parse(R"([{"name": "Carrier Lost", "count": 14, "share": 0.6667},
                              {"name": "Dte Hangup Command", "count": 7, "share": 0.3333}])"),
              lineOfSummary(names, "Termination Cause", nullptr).at("values"));
    const json& compression = lineOfSummary(names, "Protocol/Compression", "Compression");
    EXPECT_EQ(20, compression.at("count"));
    EXPECT_EQ(1, compression.at("na"));

    // Each number line's spread, a pair's values apart.
    struct Spread {
        const char* label;
        json column;
        int count, na, min, p10, median, p90, max;
    };
    const Spread spreads[] = {
        {"Estimated noise level, -dBm", nullptr, 20, 1, 10, 11, 19, 27, 29},
        {"TX/RX Symbol Rate", "TX", 21, 0, 2400, 2402, 2410, 2418, 2420},
        {"TX/RX Symbol Rate", "RX", 21, 0, 2980, 2982, 2990, 2998, 3000},
        {"Retrains Requested/Granted", "Retrains Requested", 21, 0, 0, 0, 2, 4, 4},
        // Only the requested count came: the text shows "NA" beside it.
        {"Retrains Requested/Granted", "Granted", 0, 21, -1, -1, -1, -1, -1},
    };
    for (const Spread& s : spreads) {
        SCOPED_TRACE(s.label);
        const json& line = lineOfSummary(summary.at("numbers"), s.label, s.column);
        const auto figure = [](int value) { return value < 0 ? json(nullptr) : json(value); };
        EXPECT_EQ(json({s.count, s.na, figure(s.min), figure(s.p10), figure(s.median),
                        figure(s.p90), figure(s.max)}),
                  json({line.at("count"), line.at("na"), line.at("min"), line.at("p10"),
                        line.at("median"), line.at("p90"), line.at("max")}));
    }

    const json& worst = summary.at("worst");
    ASSERT_EQ(4u, worst.size());
    EXPECT_EQ(callsAt({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, {10, 11, 12, 13, 14, 15, 16, 17, 18, 19}),
              worst[0].at("calls"));
    EXPECT_EQ(
        callsAt({0, 4, 8, 12, 16, 20, 1, 5, 9, 13}, {0, 0, 0, 0, 0, 0, 1000, 1000, 1000, 1000}),
        worst[1].at("calls"));
    EXPECT_EQ(callsAt({4, 9, 14, 19, 3, 8, 13, 18, 2, 7}, {4, 4, 4, 4, 3, 3, 3, 3, 2, 2}),
              worst[2].at("calls"));
    EXPECT_EQ(json::array(), worst[3].at("calls"));

    const json& sources = summary.at("sources");
    ASSERT_EQ(7u, sources.size());
    EXPECT_EQ(json::parse(R"({"source": "modem-2.log", "calls": 3, "complete": 3,
                              "terminationCause": "Carrier Lost", "terminationShare": 0.6667,
                              "medianRxRate": 1000, "worstNoise": 13})"),
              sources[2]);
    EXPECT_EQ(json::parse(R"({"source": "modem-5.log", "calls": 6, "complete": 5,
                              "terminationCause": "Carrier Lost", "terminationShare": 0.6667,
                              "medianRxRate": 1000, "worstNoise": 25})"),
              sources[5]);
    EXPECT_EQ(json::parse(R"({"source": "empty.log", "calls": 0, "complete": 0,
                              "terminationCause": null, "terminationShare": null,
                              "medianRxRate": null, "worstNoise": null})"),
              sources[6]);
}

// A value the line damaged ("12=4" and a noise byte) would head the noise
// list; it counts only apart. The input's name is Latin-1.
TEST(FleetSummary, MalformedValuesCountOnlyApart) {
    FleetSummary summary;
    decodeInto(summary, "noisy-\xE9.log",
               "DIAG <2A4D3263 12=4\xB1 60=3C>\r\nOK\r\nDIAG <2A4D3263 12=1E 60=3C>\r\nOK\r\n");
    const json document = json::parse(summaryDocument(summary, false).dump());
    EXPECT_EQ(1, document.at("malformedValues"));
    const json& noise =
        lineOfSummary(document.at("numbers"), "Estimated noise level, -dBm", nullptr);
    EXPECT_EQ(json({1, 0, 1, 30, 30}),
              json({noise.at("count"), noise.at("na"), noise.at("malformed"), noise.at("min"),
                    noise.at("max")}));
    ASSERT_EQ(1u, document.at("worst")[0].at("calls").size());
    EXPECT_EQ(30, document.at("worst")[0].at("calls")[0].at("value"));
    // A name that is not UTF-8, as --json writes it.
    EXPECT_EQ("noisy-\xC3\xA9.log", document.at("worst")[0].at("calls")[0].at("source"));
    EXPECT_EQ(true, document.at("worst")[0].at("calls")[0].at("sourceLatin1"));
}

// Without the rows per input (vexa-decode --summary alone), all else is the same.
TEST(FleetSummary, WithoutSourcesTheRestIsTheSame) {
    json summary = generatedFleetSummary();
    summary.erase("sources");
    EXPECT_EQ(summary, generatedFleetSummary(false));
}

}  // namespace

#include "csv_report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

ReportLine pairLine(int entry, const char* first, const char* second) {
    ReportLine line;
    line.entry = entry;
    line.valueCount = 2;
    if (first != nullptr) {
        line.values[0] = first;
    }
    if (second != nullptr) {
        line.values[1] = second;
    }
    return line;
}

TEST(CsvReport, RowsHoldTheValuesAsTheTextShowsThem) {
    DecodedReport report;
    report.number = 2;
    report.line = 57;
    report.lines.push_back(pairLine(16, "3429", nullptr));            // symbol rate
    report.lines.push_back(pairLine(28, "V.24 ckt 106/133", "off"));  // flow control
    ReportLine cause;
    cause.entry = 33;
    cause.values[0] = "Carrier Lost";
    report.lines.push_back(cause);
    const std::string row = csvRow(report, "site \"A\", modem 7.log", "\n");

    EXPECT_EQ(0u, row.find("\"site \"\"A\"\", modem 7.log\",2,57,")) << row;
    EXPECT_NE(std::string::npos, row.find(",3429/NA,")) << row;
    EXPECT_NE(std::string::npos, row.find(",V.24 ckt 106/133 / off,")) << row;
    EXPECT_NE(std::string::npos, row.find(",Carrier Lost,,,true,,\n")) << row;
    // 41 fields (3, the 35 labelled lines, complete, messages, malformed)
    // have 40 commas between them; one more is the file name's.
    EXPECT_EQ(40 + 1, std::count(row.begin(), row.end(), ','));
}

// A cell is quoted in place once its values are written.
TEST(CsvReport, ValuesHoldingCommasOrQuotesAreQuoted) {
    DecodedReport report;
    report.number = 1;
    report.lines.push_back(pairLine(16, "3,4", "\"5\""));  // symbol rate
    const std::string row = csvRow(report, "a.log", "\n");
    EXPECT_NE(std::string::npos, row.find(",\"3,4/\"\"5\"\"\",")) << row;
    EXPECT_EQ(",true,,\n", row.substr(row.size() - 8)) << row;
}

// Messages stand one a line, quoted, before the malformed keys; the header
// names those fields last.
TEST(CsvReport, CompleteAndMessagesComeLast) {
    DecodedReport report;
    report.number = 1;
    report.cutReason = CutReason::InputEnded;
    const std::string row = csvRow(report, "a.log", {"unrecognized key 7f!", "x, \"y\""}, "\n");
    EXPECT_EQ("a.log,1," + std::string(36, ',') + "false,\"unrecognized key 7f!\nx, \"\"y\"\"\",\n",
              row);
    const std::string header = csvHeader("\n");
    EXPECT_EQ(",complete,messages,malformed\n", header.substr(header.size() - 29));
}

TEST(CsvReport, ReportWithoutBlockHasEmptyLineAndCells) {
    DecodedReport report;
    report.number = 1;
    const std::string row = csvRow(report, "", "\r\n");
    EXPECT_EQ(",1," + std::string(36, ',') + "true,,\r\n", row);
}

// Line noise is no reading: its cell stays empty and its keys are named.
TEST(CsvReport, MalformedValuesLeaveTheirCellEmptyAndAreNamed) {
    DecodedReport report;
    report.number = 1;
    ReportLine noise;
    noise.entry = 6;  // Estimated noise level, key 12
    noise.values[0] = "4";
    noise.malformed[0] = true;
    report.lines.push_back(noise);
    ReportLine rate = pairLine(16, "3429", "3200");  // symbol rate, keys 22 and 23
    rate.malformed[1] = true;
    report.lines.push_back(rate);
    const std::string row = csvRow(report, "a.log", "\n");
    EXPECT_EQ(std::string::npos, row.find(",4,")) << row;
    EXPECT_EQ(std::string::npos, row.find("3429")) << row;
    EXPECT_EQ(",true,,12 23\n", row.substr(row.size() - 13)) << row;
}

}  // namespace

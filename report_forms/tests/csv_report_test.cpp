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
    EXPECT_NE(std::string::npos, row.find(",Carrier Lost,,\n")) << row;
    // 38 fields (3 and the 35 labelled lines) have 37 commas between them;
    // one more is the file name's.
    EXPECT_EQ(37 + 1, std::count(row.begin(), row.end(), ','));
}

TEST(CsvReport, ReportWithoutBlockHasEmptyLineAndCells) {
    DecodedReport report;
    report.number = 1;
    const std::string row = csvRow(report, "", "\r\n");
    EXPECT_EQ(",1," + std::string(35, ',') + "\r\n", row);
}

}  // namespace

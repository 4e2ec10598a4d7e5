// Decoded reports as CSV (RFC 4180), one row a report, for spreadsheets:
// the input's name, the report's number and first line, then one column
// per catalogue line that has a label, in catalogue order, holding its
// values as the text report shows them ("3429/NA"), empty where the report
// has no such line; last whether the report is complete ("true" or
// "false"), its messages, one a line, and the keys whose values were
// malformed (line noise), separated by spaces: their lines' cells stay
// empty. Fields holding a comma, a quote,
// CR or LF are quoted. Rows end with the line end given. Bytes pass as
// they are.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "report_values.h"

std::string csvHeader(const std::string& lineEnd);
// Appends the report's row to out, sized once and written in place: a run
// writes one a report. messages: the report's messages, each after the
// first behind a line feed.
void appendCsvRow(const DecodedReport& report, std::string_view source, std::string_view messages,
                  std::string_view lineEnd, std::string& out);
std::string csvRow(const DecodedReport& report, const std::string& source,
                   const std::string& lineEnd);
std::string csvRow(const DecodedReport& report, const std::string& source,
                   const std::vector<std::string>& messages, const std::string& lineEnd);

// The --all heading of a report.

#include "report_heading.h"

std::string reportHeading(const DecodedReport& report) {
    if (report.line == 0) {
        return std::string();
    }
    const std::string heading =
        "Report " + std::to_string(report.number) + " (line " + std::to_string(report.line);
    return heading + (report.complete ? ")" : ", cut off: the input ended before its OK)");
}

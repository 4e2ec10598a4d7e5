// The --all title of a report.

#include "report_title.h"

#include "cut_reasons.h"

std::string reportTitle(const DecodedReport& report) {
    if (report.line == 0) {
        return std::string();
    }
    const std::string title =
        "Report " + std::to_string(report.number) + " (line " + std::to_string(report.line);
    if (report.complete()) {
        return title + ")";
    }
    return title + ", cut off: " + cutReasonWords(report.cutReason) + ")";
}

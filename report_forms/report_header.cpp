// The report header texts and their one writer.
#include "report_header.h"

// Saved reports carry this line as it always was: it names the report form,
// not the release, so it keeps its version when the release's changes.
const char VersionBanner[] =
    "Veltrano Diagnostics/W32, version 1.0.1.4, compiled at Jan 28 2001 19:53:30";
const char NoticeLine[] =
    "(c) 2001 Veltrano Communications. Support: support@veltrano.example, www.veltrano.example";
const char RuleLine[] =
    "----------------------------------------------------------------------------";

const char* const ReportHeaderLines[3] = {VersionBanner, NoticeLine, RuleLine};

std::string reportHeader(const char* prefix) {
    std::string header;
    for (const char* line : ReportHeaderLines) {
        header += prefix;
        header += line;
        header += "\r\n";
    }
    return header;
}

// The title vexa-decode --all puts above each report, which the browser page
// shows above the report it steps to.
#pragma once

#include <string>

#include "report_values.h"

// "Report 2 (line 57)", or for a report the input's end cut off before its
// OK "Report 2 (line 57, cut off: the input ended before its OK)". Without
// line prefix and line end; a report without a block has none (empty).
std::string reportTitle(const DecodedReport& report);

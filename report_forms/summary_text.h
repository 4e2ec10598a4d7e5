// The text form of a fleet summary, as vexa-decode --summary prints it:
// the counts, each name line's values with their counts and shares, a
// table of the numeric lines' spreads, the worst calls as SOURCE:LINE, and
// with bySource a table of the inputs. Lines no report showed are left out;
// columns are as wide as their widest cell.
#pragma once

#include <string>

#include "fleet_summary.h"
#include "report_text.h"

std::string summaryText(const FleetSummary& summary, bool bySource, const LineStyle& style);

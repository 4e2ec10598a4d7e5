// The JSON form of a fleet summary, as vexa-decode --summary --json prints
// it and the page's fleet view draws it; docs/json-schema.md describes it.
#pragma once

#include <nlohmann/json.hpp>

#include "fleet_summary.h"

// The bins of each numeric line's histogram, at most.
constexpr int SummaryHistogramBins = 20;

// With bySource, a row for every input besides.
nlohmann::ordered_json summaryDocument(const FleetSummary& summary, bool bySource);

// Building the JSON document of a fleet summary.

#include "summary_json.h"

#include <cmath>

#include "catalogue.h"
#include "json_report.h"

namespace {

using Json = nlohmann::ordered_json;

Json text(std::string_view bytes) {
    return latin1ToUtf8(bytes);
}

// count of all, to four decimals; 0 of none.
double share(std::uint64_t count, std::uint64_t all) {
    return all == 0 ? 0.0
                    : std::round(static_cast<double>(count) / static_cast<double>(all) * 1e4) / 1e4;
}

Json columnName(int entry, int column) {
    const std::string name = summaryColumnName(entry, column);
    return name.empty() ? Json(nullptr) : Json(name);
}

Json names(const SummaryColumn& column) {
    Json values = Json::array();
    for (const NameCount& name : column.names.mostFrequentFirst()) {
        values.push_back({{"name", text(name.name)},
                          {"count", name.count},
                          {"share", share(name.count, column.names.count())}});
    }
    return Json{{"label", KeyCatalogue[column.entry].label},
                {"column", columnName(column.entry, column.column)},
                {"count", column.names.count()},
                {"na", column.na},
                {"values", values}};
}

Json numbers(const SummaryColumn& column) {
    const NumberTally& tally = column.numbers;
    Json spread = {{"label", KeyCatalogue[column.entry].label},
                   {"column", columnName(column.entry, column.column)},
                   {"count", tally.count()},
                   {"na", column.na}};
    if (tally.count() == 0) {
        for (const char* field : {"min", "p10", "median", "p90", "max", "histogram"}) {
            spread[field] = nullptr;
        }
        spread["exact"] = true;
        return spread;
    }
    const std::vector<std::uint32_t> at = tally.percentiles({10, 50, 90});
    const NumberTally::Histogram histogram = tally.histogram(SummaryHistogramBins);
    spread["min"] = tally.smallest();
    spread["p10"] = at[0];
    spread["median"] = at[1];
    spread["p90"] = at[2];
    spread["max"] = tally.largest();
    spread["histogram"] = {
        {"first", histogram.first}, {"width", histogram.width}, {"counts", histogram.counts}};
    spread["exact"] = tally.exact();
    return spread;
}

Json worst(const WorstList& list) {
    Json calls = Json::array();
    for (const WorstCall& call : list.calls) {
        calls.push_back({{"source", text(call.source)},
                         {"line", call.line},
                         {"report", call.report},
                         {"value", call.value}});
    }
    return Json{{"title", list.title},
                {"label", KeyCatalogue[list.entry].label},
                {"column", columnName(list.entry, list.column)},
                {"calls", calls}};
}

Json source(const SourceRow& row) {
    const bool caused = !row.cause.name.empty();
    return Json{
        {"source", text(row.source)},
        {"calls", row.calls},
        {"complete", row.complete},
        {"terminationCause", caused ? text(row.cause.name) : Json(nullptr)},
        {"terminationShare", caused ? Json(share(row.cause.count, row.causeCalls)) : Json(nullptr)},
        {"medianRxRate", row.hasRxRate ? Json(row.medianRxRate) : Json(nullptr)},
        {"worstNoise", row.hasNoise ? Json(row.worstNoise) : Json(nullptr)}};
}

}  // namespace

Json summaryDocument(const FleetSummary& summary, bool bySource) {
    const SummaryCounts& counts = summary.counts();
    Json nameLines = Json::array();
    Json numberLines = Json::array();
    for (const SummaryColumn& column : summary.columns()) {
        if (column.shape == SummaryShape::Names) {
            nameLines.push_back(names(column));
        } else {
            numberLines.push_back(numbers(column));
        }
    }
    Json worstLists = Json::array();
    for (const WorstList& list : summary.worstLists()) {
        worstLists.push_back(worst(list));
    }
    Json document = {
        {"inputs", counts.inputs},   {"inputsWithoutReport", counts.inputsWithoutReport},
        {"reports", counts.reports}, {"complete", counts.complete},
        {"cutOff", counts.cutOff},   {"withMessages", counts.withMessages},
        {"names", nameLines},        {"numbers", numberLines},
        {"worst", worstLists}};
    if (bySource) {
        Json rows = Json::array();
        for (const SourceRow& row : summary.sources()) {
            rows.push_back(source(row));
        }
        document["sources"] = rows;
    }
    return document;
}

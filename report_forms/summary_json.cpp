// Building the JSON document of a fleet summary.

#include "summary_json.h"

#include <cmath>

#include "json_report.h"
#include "line_catalogue.h"

namespace {

using Json = nlohmann::ordered_json;

Json text(std::string_view bytes) {
    return latin1ToUtf8(bytes);
}

// The source as --json names it, with its "sourceLatin1" where needed.
void putSource(Json& object, const std::string& source) {
    bool latin1 = false;
    object["source"] = jsonSourceName(source, &latin1);
    if (latin1) {
        object["sourceLatin1"] = true;
    }
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

// The label and column every line of the document begins with.
Json lineHead(int entry, int column) {
    Json line = Json::object();
    line["label"] = lineLabel(entry);
    line["column"] = columnName(entry, column);
    return line;
}

Json names(const SummaryColumn& column) {
    Json values = Json::array();
    for (const NameCount& name : column.names.mostFrequentFirst()) {
        Json value = Json::object();
        value["name"] = text(name.name);
        value["count"] = name.count;
        value["share"] = share(name.count, column.names.count());
        values.push_back(std::move(value));
    }
    Json line = lineHead(column.entry, column.column);
    line["count"] = column.names.count();
    line["na"] = column.na;
    line["malformed"] = column.malformed;
    line["values"] = std::move(values);
    return line;
}

Json numbers(const SummaryColumn& column) {
    const NumberTally& tally = column.numbers;
    Json line = lineHead(column.entry, column.column);
    line["count"] = tally.count();
    line["na"] = column.na;
    line["malformed"] = column.malformed;
    const bool any = tally.count() > 0;
    const std::vector<std::uint32_t> at = tally.percentiles({10, 50, 90});
    const char* const names[] = {"min", "p10", "median", "p90", "max"};
    const std::uint32_t figures[] = {tally.smallest(), at[0], at[1], at[2], tally.largest()};
    for (int i = 0; i < 5; ++i) {
        line[names[i]] = any ? Json(figures[i]) : Json(nullptr);
    }
    Json histogram = nullptr;
    if (any) {
        const NumberTally::Histogram bins = tally.histogram(SummaryHistogramBins);
        histogram = Json::object();
        histogram["first"] = bins.first;
        histogram["width"] = bins.width;
        histogram["counts"] = bins.counts;
    }
    line["histogram"] = std::move(histogram);
    line["exact"] = tally.exact();
    return line;
}

Json worst(const WorstList& list) {
    Json calls = Json::array();
    for (const WorstCall& call : list.calls) {
        Json found = Json::object();
        putSource(found, call.source);
        found["line"] = call.line;
        found["report"] = call.report;
        found["value"] = call.value;
        calls.push_back(std::move(found));
    }
    Json line = Json::object();
    line["title"] = list.title;
    line["label"] = lineLabel(list.entry);
    line["column"] = columnName(list.entry, list.column);
    line["calls"] = std::move(calls);
    return line;
}

// A figure, or null without one.
Json figureOrNull(bool has, std::uint64_t figure) {
    return has ? Json(figure) : Json(nullptr);
}

Json source(const SourceRow& row) {
    const bool caused = !row.cause.name.empty();
    Json input = Json::object();
    putSource(input, row.source);
    input["calls"] = row.calls;
    input["complete"] = row.complete;
    input["terminationCause"] = caused ? text(row.cause.name) : Json(nullptr);
    input["terminationShare"] =
        caused ? Json(share(row.cause.count, row.causeCalls)) : Json(nullptr);
    input["medianRxRate"] = figureOrNull(row.hasRxRate, row.medianRxRate);
    input["worstNoise"] = figureOrNull(row.hasNoise, row.worstNoise);
    return input;
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
    Json document = Json::object();
    const char* const names[] = {"inputs", "inputsWithoutReport", "reports",        "complete",
                                 "cutOff", "withMessages",        "malformedValues"};
    const std::uint64_t figures[] = {
        counts.inputs, counts.inputsWithoutReport, counts.reports,        counts.complete,
        counts.cutOff, counts.withMessages,        counts.malformedValues};
    for (int i = 0; i < 7; ++i) {
        document[names[i]] = figures[i];
    }
    document["names"] = std::move(nameLines);
    document["numbers"] = std::move(numberLines);
    document["worst"] = std::move(worstLists);
    if (bySource) {
        Json rows = Json::array();
        for (const SourceRow& row : summary.sources()) {
            rows.push_back(source(row));
        }
        document["sources"] = std::move(rows);
    }
    return document;
}

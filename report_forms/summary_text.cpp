// Writing a fleet summary as text tables.

#include "summary_text.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "line_catalogue.h"

namespace {

using Row = std::vector<std::string>;

std::string percent(std::uint64_t count, std::uint64_t all) {
    char text[16];
    std::snprintf(text, sizeof text, "%.1f %%",
                  all == 0 ? 0.0 : 100.0 * static_cast<double>(count) / static_cast<double>(all));
    return text;
}

std::string number(std::uint64_t value) {
    return std::to_string(value);
}

// Cells padded to their column's widest, text left and figures right
// (rightAligned[i] for column i), two spaces apart, no trailing blanks.
void appendTable(const std::vector<Row>& rows, const std::vector<bool>& rightAligned,
                 const LineStyle& style, std::string& out) {
    std::vector<std::size_t> widths(rightAligned.size(), 0);
    for (const Row& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            widths[i] = std::max(widths[i], row[i].size());
        }
    }
    for (const Row& row : rows) {
        std::string line;
        for (std::size_t i = 0; i < row.size(); ++i) {
            const std::string pad(widths[i] - row[i].size(), ' ');
            line += (i > 0 ? "  " : "") + (rightAligned[i] ? pad + row[i] : row[i] + pad);
        }
        line.erase(line.find_last_not_of(' ') + 1);
        appendTextLine(style, line, out);
    }
}

std::string lineName(int entry, int column) {
    const std::string name = summaryColumnName(entry, column);
    return std::string(lineLabel(entry)) + (name.empty() ? "" : ", " + name);
}

void appendCounts(const SummaryCounts& counts, const LineStyle& style, std::string& out) {
    std::vector<Row> rows = {
        {"Inputs", number(counts.inputs), ""},
        {"Inputs without a report", number(counts.inputsWithoutReport), ""},
        {"Reports", number(counts.reports), ""},
        {"Complete", number(counts.complete), percent(counts.complete, counts.reports)},
        {"Cut off before their OK", number(counts.cutOff), percent(counts.cutOff, counts.reports)},
        {"With messages", number(counts.withMessages),
         percent(counts.withMessages, counts.reports)},
    };
    if (counts.malformedValues > 0) {
        rows.push_back({"Malformed values, left out", number(counts.malformedValues), ""});
    }
    appendTable(rows, {false, true, true}, style, out);
}

void appendNames(const FleetSummary& summary, const LineStyle& style, std::string& out) {
    std::vector<Row> rows = {{"Name lines", "count", "share"}};
    for (const SummaryColumn& column : summary.columns()) {
        if (column.shape != SummaryShape::Names || column.names.count() + column.na == 0) {
            continue;
        }
        rows.push_back({lineName(column.entry, column.column), number(column.names.count()), ""});
        for (const NameCount& name : column.names.mostFrequentFirst()) {
            rows.push_back(
                {"  " + name.name, number(name.count), percent(name.count, column.names.count())});
        }
        if (column.na > 0) {
            rows.push_back({"  NA", number(column.na), ""});
        }
    }
    appendTable(rows, {false, true, true}, style, out);
}

void appendNumbers(const FleetSummary& summary, const LineStyle& style, std::string& out) {
    std::vector<Row> rows = {
        {"Numeric lines", "", "count", "NA", "min", "p10", "median", "p90", "max", ""}};
    for (const SummaryColumn& column : summary.columns()) {
        const NumberTally& tally = column.numbers;
        if (column.shape != SummaryShape::Numbers || tally.count() + column.na == 0) {
            continue;
        }
        Row row = {column.column == 0 ? lineLabel(column.entry) : "",
                   summaryColumnName(column.entry, column.column), number(tally.count()),
                   number(column.na)};
        if (tally.count() > 0) {
            const std::vector<std::uint32_t> at = tally.percentiles({10, 50, 90});
            for (const std::uint64_t figure :
                 {std::uint64_t{tally.smallest()}, std::uint64_t{at[0]}, std::uint64_t{at[1]},
                  std::uint64_t{at[2]}, std::uint64_t{tally.largest()}}) {
                row.push_back(number(figure));
            }
            row.push_back(tally.exact() ? "" : "(approximate)");
        }
        rows.push_back(row);
    }
    appendTable(rows, {false, false, true, true, true, true, true, true, true, false}, style, out);
}

void appendWorst(const FleetSummary& summary, const LineStyle& style, std::string& out) {
    for (const WorstList& list : summary.worstLists()) {
        if (list.calls.empty()) {
            continue;
        }
        appendTextLine(
            style, std::string(list.title) + " (" + lineName(list.entry, list.column) + ")", out);
        std::vector<Row> rows;
        for (const WorstCall& call : list.calls) {
            rows.push_back({"  " + call.source + ":" + number(call.line), number(call.value)});
        }
        appendTable(rows, {false, true}, style, out);
    }
}

void appendSources(const FleetSummary& summary, const LineStyle& style, std::string& out) {
    std::vector<Row> rows = {{"Input", "calls", "complete", "most frequent termination cause",
                              "share", "median RX rate", "worst noise"}};
    for (const SourceRow& source : summary.sources()) {
        const bool caused = !source.cause.name.empty();
        rows.push_back({source.source, number(source.calls), number(source.complete),
                        caused ? source.cause.name : "-",
                        caused ? percent(source.cause.count, source.causeCalls) : "-",
                        source.hasRxRate ? number(source.medianRxRate) : "-",
                        source.hasNoise ? number(source.worstNoise) : "-"});
    }
    appendTable(rows, {false, true, true, false, true, true, true}, style, out);
}

}  // namespace

std::string summaryText(const FleetSummary& summary, bool bySource, const LineStyle& style) {
    std::string out;
    appendCounts(summary.counts(), style, out);
    appendTextLine(style, "", out);
    appendNames(summary, style, out);
    appendTextLine(style, "", out);
    appendNumbers(summary, style, out);
    appendTextLine(style, "", out);
    appendTextLine(style, "Worst calls (input:line, figure)", out);
    appendWorst(summary, style, out);
    if (bySource) {
        appendTextLine(style, "", out);
        appendSources(summary, style, out);
    }
    return out;
}

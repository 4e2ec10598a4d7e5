// A fleet summary: what many inputs' reports add up to, gathered report by
// report in memory that stays flat however many reports come -- counts,
// every value of each name line with how often it came, the spread of each
// numeric line (number_tally.h), the worst calls on a few telling lines and
// a row per input. vexa-decode --summary and the page's fleet view both fill
// one from the values a decoding run hands out; summary_json.h writes it.
//
// Calls: beginSource, then for each report its messages and the report,
// then endSource; again for the next input. A report with no block (an
// input without any) makes no call of the fleet; one a read error cut
// short is left out. Which lines count how comes from line_catalogue.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "line_catalogue.h"
#include "number_tally.h"
#include "report_values.h"

struct NameCount {
    std::string name;
    std::uint64_t count = 0;
};

// The values of a name column; a handful each, so a list.
class NameTally {
  public:
    void add(std::string_view name);
    void clear();
    std::uint64_t count() const { return count_; }
    // The most frequent first; equal counts in the order of their names.
    std::vector<NameCount> mostFrequentFirst() const;

  private:
    std::vector<NameCount> names_;
    std::uint64_t count_ = 0;
};

// One value of one summarised line (a pair's TX and RX apart).
struct SummaryColumn {
    int entry = 0;
    int column = 0;
    SummaryShape shape = SummaryShape::None;
    // Reports whose line shows "NA" here: no name, or a number above the
    // line's limit (or none, where the other value of the pair came).
    std::uint64_t na = 0;
    // Reports whose value here was line noise (ReportLine::malformed):
    // counted apart, in no tally, percentile or worst list.
    std::uint64_t malformed = 0;
    NameTally names;                       // Names
    NumberTally numbers = NumberTally(0);  // Numbers
};

// A call on a worst list: where it stands and its figure.
struct WorstCall {
    std::uint32_t value = 0;
    std::string source;
    std::size_t line = 0;
    int report = 0;
};

constexpr std::size_t WorstCallCount = 10;

struct WorstList {
    const char* title;  // "Highest noise level", ...
    int entry;
    int column;
    bool lowestIsWorst;
    std::vector<WorstCall> calls;  // worst first; equal figures in input order
};

// One input: its calls (reports with a block), how many of them complete,
// its most frequent termination cause and the number of calls that show
// one, its median RX data rate and its worst noise level.
struct SourceRow {
    std::string source;
    std::uint64_t calls = 0;
    std::uint64_t complete = 0;
    NameCount cause;  // empty name: no call showed a cause
    std::uint64_t causeCalls = 0;
    bool hasRxRate = false;
    std::uint32_t medianRxRate = 0;
    bool hasNoise = false;
    std::uint32_t worstNoise = 0;
};

struct SummaryCounts {
    std::uint64_t inputs = 0;
    std::uint64_t inputsWithoutReport = 0;
    std::uint64_t reports = 0;
    std::uint64_t complete = 0;
    std::uint64_t cutOff = 0;
    std::uint64_t withMessages = 0;
    std::uint64_t malformedValues = 0;  // every column's malformed, added up
};

class FleetSummary {
  public:
    // keepSources: keep each input's row (the only memory that grows, with
    // the inputs).
    explicit FleetSummary(bool keepSources = true);

    void beginSource(std::string_view name);
    void message() { messages_ = true; }
    void report(const DecodedReport& report);
    void endSource();

    const SummaryCounts& counts() const { return counts_; }
    // In catalogue order, a pair's columns in order.
    const std::vector<SummaryColumn>& columns() const { return columns_; }
    const std::vector<WorstList>& worstLists() const { return worst_; }
    // Empty unless kept.
    const std::vector<SourceRow>& sources() const { return sources_; }

  private:
    struct Figure {
        bool present = false;
        std::uint32_t value = 0;
    };

    void countLine(const ReportLine& line);
    void rankWorst(const DecodedReport& report);
    void countForSource(const DecodedReport& report);

    SummaryCounts counts_;
    std::vector<SummaryColumn> columns_;
    int firstColumn_[LineCount];  // index into columns_, or -1
    std::vector<WorstList> worst_;
    bool keepSources_;
    std::vector<SourceRow> sources_;
    bool messages_ = false;  // the report under way had a message
    std::uint64_t order_ = 0;
    // The numbers of the report under way, for the worst lists and the row.
    Figure figures_[LineCount][2];
    // The input under way.
    bool inSource_ = false;
    SourceRow source_;
    NameTally sourceCauses_;
    NumberTally sourceRxRates_ = NumberTally(0);
};

// Gathering a fleet summary report by report.

#include "fleet_summary.h"

#include <algorithm>

namespace {

// The telling lines whose worst calls are listed, by the key that fills
// the value compared.
struct WorstLine {
    const char* title;
    std::uint16_t key;
    bool lowestIsWorst;
};

const WorstLine WorstLines[] = {
    // The line is in -dBm: the smallest figure is the loudest noise.
    {"Highest noise level", 0x12, true},
    {"Lowest RX data rate", 0x35, true},
    {"Most retrains requested", 0x32, false},
    {"Most RX I-frame errors", 0x59, false},
};

// What a source's row shows.
constexpr std::uint16_t TerminationCauseKey = 0x60;
constexpr std::uint16_t RxRateKey = 0x35;
constexpr std::uint16_t NoiseKey = 0x12;

// A decimal value as the report shows it; false for "NA" (or anything but
// digits).
bool readNumber(const std::string& text, std::uint32_t* number) {
    if (text.empty() || text.size() > 10) {
        return false;
    }
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (value > 0xFFFFFFFFu) {
        return false;
    }
    *number = static_cast<std::uint32_t>(value);
    return true;
}

// True when a is worse than b on the list.
bool worse(std::uint32_t a, std::uint32_t b, bool lowestIsWorst) {
    return lowestIsWorst ? a < b : a > b;
}

}  // namespace

void NameTally::add(std::string_view name) {
    ++count_;
    for (NameCount& known : names_) {
        if (known.name == name) {
            ++known.count;
            return;
        }
    }
    names_.push_back(NameCount{std::string(name), 1});
}

void NameTally::clear() {
    names_.clear();
    count_ = 0;
}

std::vector<NameCount> NameTally::mostFrequentFirst() const {
    std::vector<NameCount> sorted = names_;
    std::sort(sorted.begin(), sorted.end(), [](const NameCount& a, const NameCount& b) {
        return a.count != b.count ? a.count > b.count : a.name < b.name;
    });
    return sorted;
}

FleetSummary::FleetSummary(bool keepSources) : keepSources_(keepSources) {
    for (int entry = 0; entry < LineCount; ++entry) {
        const SummaryShape shape = summaryShape(entry);
        firstColumn_[entry] = shape == SummaryShape::None ? -1 : static_cast<int>(columns_.size());
        for (int column = 0; shape != SummaryShape::None && column < lineColumns(entry); ++column) {
            SummaryColumn added;
            added.entry = entry;
            added.column = column;
            added.shape = shape;
            added.numbers = NumberTally(lineLimit(entry, column));
            columns_.push_back(std::move(added));
        }
    }
    for (const WorstLine& line : WorstLines) {
        const LineColumn at = lineOfKey(line.key);
        worst_.push_back(WorstList{line.title, at.entry, at.column, line.lowestIsWorst, {}});
    }
}

void FleetSummary::beginSource(std::string_view name) {
    ++counts_.inputs;
    inSource_ = true;
    source_ = SourceRow();
    source_.source = name;
    sourceCauses_.clear();
    sourceRxRates_.clear();
    messages_ = false;
}

void FleetSummary::report(const DecodedReport& report) {
    const bool messages = messages_;
    messages_ = false;
    if (report.readFailed || report.line == 0 || !inSource_) {
        return;
    }
    ++counts_.reports;
    ++(report.complete() ? counts_.complete : counts_.cutOff);
    counts_.withMessages += messages ? 1 : 0;
    ++order_;
    for (auto& entry : figures_) {
        entry[0] = entry[1] = Figure();
    }
    for (const ReportLine& line : report.lines) {
        countLine(line);
    }
    rankWorst(report);
    countForSource(report);
}

void FleetSummary::countLine(const ReportLine& line) {
    const int first = firstColumn_[line.entry];
    if (first < 0) {
        return;
    }
    for (int column = 0; column < line.valueCount; ++column) {
        SummaryColumn& counted = columns_[static_cast<std::size_t>(first + column)];
        const std::optional<std::string>& value = line.values[column];
        std::uint32_t number = 0;
        if (line.malformed[column]) {
            ++counted.malformed;
            ++counts_.malformedValues;
        } else if (counted.shape == SummaryShape::Names && value) {
            counted.names.add(*value);
        } else if (counted.shape == SummaryShape::Numbers && value && readNumber(*value, &number)) {
            counted.numbers.add(number);
            figures_[line.entry][column] = Figure{true, number};
        } else {
            ++counted.na;
        }
    }
}

void FleetSummary::rankWorst(const DecodedReport& report) {
    for (WorstList& list : worst_) {
        const Figure& figure = figures_[list.entry][list.column];
        if (!figure.present) {
            continue;
        }
        // After every call at least as bad: equal figures stay in input order.
        auto at = list.calls.begin();
        while (at != list.calls.end() && !worse(figure.value, at->value, list.lowestIsWorst)) {
            ++at;
        }
        if (at - list.calls.begin() >= static_cast<std::ptrdiff_t>(WorstCallCount)) {
            continue;
        }
        list.calls.insert(at, WorstCall{figure.value, source_.source, report.line, report.number});
        if (list.calls.size() > WorstCallCount) {
            list.calls.pop_back();
        }
    }
}

void FleetSummary::countForSource(const DecodedReport& report) {
    SourceRow& row = source_;
    ++row.calls;
    row.complete += report.complete() ? 1 : 0;
    const LineColumn cause = lineOfKey(TerminationCauseKey);
    for (const ReportLine& line : report.lines) {
        if (line.entry == cause.entry && line.values[cause.column] &&
            !line.malformed[cause.column]) {
            sourceCauses_.add(*line.values[cause.column]);
        }
    }
    const LineColumn rate = lineOfKey(RxRateKey);
    if (figures_[rate.entry][rate.column].present) {
        sourceRxRates_.add(figures_[rate.entry][rate.column].value);
    }
    const LineColumn noise = lineOfKey(NoiseKey);
    const Figure& level = figures_[noise.entry][noise.column];
    if (level.present) {
        // In -dBm: the smallest figure is the worst.
        row.worstNoise = row.hasNoise ? std::min(row.worstNoise, level.value) : level.value;
        row.hasNoise = true;
    }
}

void FleetSummary::endSource() {
    if (!inSource_) {
        return;
    }
    inSource_ = false;
    SourceRow& row = source_;
    counts_.inputsWithoutReport += row.calls == 0 ? 1 : 0;
    if (!keepSources_) {
        return;
    }
    const std::vector<NameCount> causes = sourceCauses_.mostFrequentFirst();
    if (!causes.empty()) {
        row.cause = causes.front();
        row.causeCalls = sourceCauses_.count();
    }
    if (sourceRxRates_.count() > 0) {
        row.hasRxRate = true;
        row.medianRxRate = sourceRxRates_.percentiles({50}).front();
    }
    sources_.push_back(std::move(row));
}

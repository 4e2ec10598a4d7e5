// The report collector: a report's lines from the value slots, with the raw
// tokens it heard of while the report was scanned, when its writer wants
// them.

#include "report_collector.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "hex_number.h"

void ReportCollector::startChunk(const char* chunk, std::size_t line) {
    base_ = chunk;
    pristine_.clear();
    counted_ = 0;
    line_ = line;
}

void ReportCollector::startText(const char* text, std::size_t line, std::string pristine) {
    base_ = text;
    pristine_ = std::move(pristine);
    counted_ = 0;
    line_ = line;
}

// Positions come in ascending order, so every line feed is counted once.
std::size_t ReportCollector::lineOf(const char* position) {
    if (!countLines_) {
        return 0;
    }
    const auto offset = std::min(static_cast<std::size_t>(position - base_), pristine_.size());
    if (offset > counted_) {
        line_ += static_cast<std::size_t>(
            std::count(pristine_.begin() + static_cast<std::ptrdiff_t>(counted_),
                       pristine_.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
        counted_ = offset;
    }
    return line_;
}

void ReportCollector::blockMet(const char* inputLine) {
    ++items_;
    const std::size_t line = lineOf(inputLine);
    if (reportLine_ == 0) {
        reportLine_ = line;
    }
    if (!keepTokens_) {
        return;
    }
    if (blockCount_ == blocks_.size()) {
        blocks_.emplace_back();
    }
    ReportBlock& block = blocks_[blockCount_++];
    block.line = line;
    block.unparsed.reset();
    tokenCount_ = 0;
    blockStart_ = inputLine;
    blockText_ = inputLine;
}

namespace {

// A kept string takes a text through append for less than through
// assignment, which must allow for the text lying inside it.
void assignText(std::string& kept, const char* text, std::size_t length) {
    kept.clear();
    kept.append(text, length);
}

void assignText(std::optional<std::string>& kept, const char* text) {
    if (kept) {
        assignText(*kept, text, std::strlen(text));
    } else {
        kept.emplace(text);
    }
}

}  // namespace

// The next token of the block under way, in the storage the last report's
// left there.
ReportToken& ReportCollector::nextToken() {
    std::vector<ReportToken>& tokens = blocks_[blockCount_ - 1].tokens;
    if (tokenCount_ == tokens.size()) {
        tokens.emplace_back();
    }
    return tokens[tokenCount_++];
}

void ReportCollector::keyUnrecognized(const char* token) {
    ++items_;
    if (!keepTokens_) {
        return;
    }
    ReportToken& unknown = nextToken();
    unknown.unknown = true;
    const char* equals = std::strchr(token, '=');
    if (equals == nullptr) {
        assignText(unknown.key, token, std::strlen(token));
        unknown.value.reset();
        unknown.malformed = false;
    } else {
        assignText(unknown.key, token, static_cast<std::size_t>(equals - token));
        assignText(unknown.value, equals + 1);
        unknown.malformed = !isCleanHexNumber(equals + 1);
    }
}

void ReportCollector::formatBroken(const char* tokenStart) {
    if (!keepTokens_) {
        return;
    }
    const auto offset = static_cast<std::size_t>(tokenStart - blockStart_);
    blocks_[blockCount_ - 1].unparsed = blockText_.substr(std::min(offset, blockText_.size()));
}

void ReportCollector::valueRendered(int entry, int column, std::uint32_t key,
                                    std::string_view keyText, const char* valueText) {
    ++items_;
    const bool malformed = !isCleanHexNumber(valueText);
    if (key == BitFieldKey) {
        for (int derived = FirstDerivedEntry; derived <= LastDerivedEntry; ++derived) {
            malformed_[derived][0] = malformed_[derived][1] = malformed;
        }
    } else if (key < KeyDerived) {
        malformed_[entry][column] = malformed;
    }
    if (!keepTokens_) {
        return;
    }
    ReportToken& token = nextToken();
    assignText(token.key, keyText.data(), keyText.size());
    assignText(token.value, valueText);
    token.unknown = false;
    token.malformed = malformed;
    const TokenPlace place{blockCount_ - 1, tokenCount_ - 1};
    if (key == BitFieldKey) {
        for (int derived = FirstDerivedEntry; derived <= LastDerivedEntry; ++derived) {
            raw_[derived][0] = place;
            // The second is read only where the line shows a pair.
            if (KeyCatalogue[derived].key2 != KeyNone) {
                raw_[derived][1] = place;
            }
        }
    } else if (key < KeyDerived) {
        // KeyDerived and KeyNone themselves find an entry but write nothing.
        raw_[entry][column] = place;
    }
}

void ReportCollector::blockEnded() {
    if (keepTokens_) {
        ReportBlock& block = blocks_[blockCount_ - 1];
        block.tokens.resize(tokenCount_);
        writer_.block(block);
    }
}

void ReportCollector::endReport(const ValueSlotTable& slots, int number, bool complete,
                                bool readFailed) {
    endReport(slots, number, complete ? CutReason::None : CutReason::InputEnded, readFailed);
}

namespace {

// Reports of one modem repeat most of their values, and a value that did
// not change is left as it is. A string that keeps its storage takes a text
// through append for less than through assignment, which must allow for the
// text lying inside it.
void assignValue(std::optional<std::string>& value, const char* text) {
    if (!value) {
        value.emplace(text);
        return;
    }
    std::string& kept = *value;
    const std::size_t length = std::strlen(text);
    if (kept.size() == length) {
        const char* at = kept.data();
        std::size_t same = 0;
        while (same < length && at[same] == text[same]) {
            ++same;
        }
        if (same == length) {
            return;
        }
    }
    kept.clear();
    kept.append(text, length);
}

}  // namespace

void ReportCollector::endReport(const ValueSlotTable& slots, int number, CutReason cut,
                                bool readFailed) {
    DecodedReport& report = report_;
    report.number = number;
    report.line = reportLine_;
    report.cutReason = cut;
    report.readFailed = readFailed;
    std::size_t count = 0;
    for (int entry = 0; entry < KeyEntryCount; ++entry) {
        if (slotIsEmpty(slots, entry, 0) && slotIsEmpty(slots, entry, 1)) {
            continue;
        }
        // The vector keeps its storage from report to report.
        if (count == report.lines.size()) {
            report.lines.emplace_back();
        }
        ReportLine& line = report.lines[count++];
        line.entry = entry;
        line.label = KeyCatalogue[entry].label;
        line.valueCount = KeyCatalogue[entry].key2 == KeyNone ? 1 : 2;
        for (int column = 0; column < 2; ++column) {
            if (column < line.valueCount && !slotIsEmpty(slots, entry, column)) {
                assignValue(line.values[column], slots.text[entry][column]);
            } else {
                line.values[column].reset();
            }
            line.malformed[column] =
                column < line.valueCount && line.values[column] && malformed_[entry][column];
            malformed_[entry][column] = false;
            const TokenPlace place = raw_[entry][column];
            if (column < line.valueCount && place.block != NoBlock) {
                line.raw[column] = blocks_[place.block].tokens[place.token];
            } else {
                line.raw[column].reset();
            }
        }
    }
    report.lines.resize(count);
    for (auto& row : malformed_) {
        row[0] = row[1] = false;
    }
    reportLine_ = 0;
    items_ = 0;
    if (keepTokens_) {
        for (auto& row : raw_) {
            row[0] = row[1] = TokenPlace();
        }
        blockCount_ = 0;
    }
    writer_.report(report);
}

// The report collector: a report's lines from the value slots, with the raw
// tokens, messages and first line it heard of while the report was scanned.

#include "report_collector.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "hex_number.h"

void ReportCollector::startFileChunk(const char* chunk, std::size_t line) {
    // Every input line in a file chunk begins on the chunk's first line.
    base_ = chunk;
    pristine_.clear();
    counted_ = 0;
    line_ = line;
}

void ReportCollector::startText(const char* text, std::size_t line) {
    base_ = text;
    pristine_ = text;
    counted_ = 0;
    line_ = line;
}

// Positions must come in ascending order.
std::size_t ReportCollector::lineOf(const char* position) {
    const auto offset = std::min(static_cast<std::size_t>(position - base_), pristine_.size());
    if (offset > counted_) {
        line_ += static_cast<std::size_t>(
            std::count(pristine_.begin() + static_cast<std::ptrdiff_t>(counted_),
                       pristine_.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
        counted_ = offset;
    }
    return line_;
}

void ReportCollector::messageAppended(const char* text) {
    report_.messages.emplace_back(text);
}

void ReportCollector::blockMet(const char* inputLine) {
    ReportBlock block;
    block.line = lineOf(inputLine);
    if (report_.line == 0) {
        report_.line = block.line;
    }
    report_.blocks.push_back(std::move(block));
    blockStart_ = inputLine;
    blockText_ = inputLine;
}

void ReportCollector::keyUnrecognized(const char* token) {
    BlockToken unknown;
    unknown.unknown = true;
    const char* equals = std::strchr(token, '=');
    if (equals == nullptr) {
        unknown.key = token;
    } else {
        unknown.key.assign(token, static_cast<std::size_t>(equals - token));
        unknown.value = equals + 1;
        unknown.malformed = !isCleanHexNumber(equals + 1);
    }
    report_.blocks.back().tokens.push_back(std::move(unknown));
}

void ReportCollector::formatBroken(const char* tokenStart) {
    const auto offset = static_cast<std::size_t>(tokenStart - blockStart_);
    report_.blocks.back().unparsed = blockText_.substr(std::min(offset, blockText_.size()));
}

void ReportCollector::valueRendered(int entry, int column, std::uint32_t key,
                                    std::string_view keyText, const char* valueText) {
    const RawToken token{std::string(keyText), valueText, !isCleanHexNumber(valueText)};
    BlockToken read;
    read.key = token.key;
    read.value = token.value;
    read.malformed = token.malformed;
    report_.blocks.back().tokens.push_back(std::move(read));
    if (key == BitFieldKey) {
        for (int derived = FirstDerivedEntry; derived <= LastDerivedEntry; ++derived) {
            // Read only where the line shows a pair.
            raw_[derived][0] = token;
            raw_[derived][1] = token;
        }
    } else if (key < KeyDerived) {
        // KeyDerived and KeyNone themselves find an entry but write nothing.
        raw_[entry][column] = token;
    }
}

void ReportCollector::endReport(const ValueSlotTable& slots, int number, int result,
                                bool complete) {
    for (int entry = 0; entry < KeyEntryCount; ++entry) {
        if (slotIsEmpty(slots, entry, 0) && slotIsEmpty(slots, entry, 1)) {
            continue;
        }
        ReportLine line;
        line.entry = entry;
        line.label = KeyCatalogue[entry].label;
        line.valueCount = KeyCatalogue[entry].key2 == KeyNone ? 1 : 2;
        for (int column = 0; column < line.valueCount; ++column) {
            if (!slotIsEmpty(slots, entry, column)) {
                line.values[column] = slots.text[entry][column];
            }
            line.raw[column] = raw_[entry][column];
        }
        report_.lines.push_back(std::move(line));
    }
    report_.number = number;
    report_.result = result;
    report_.complete = complete;
    const DecodedReport report = std::move(report_);
    report_ = DecodedReport();
    for (auto& row : raw_) {
        row[0].reset();
        row[1].reset();
    }
    onReport_(report);
}

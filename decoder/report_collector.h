// Collects what the scan of a decoding run finds into the values of one
// report after another (report_values.h), and hands them to the run's
// writer: messages and blocks as they are complete, each report when the
// run ends it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "catalogue.h"
#include "report_writer.h"
#include "value_slots.h"

class ReportCollector {
  public:
    explicit ReportCollector(ReportWriter& writer)
        : writer_(writer), keepTokens_(writer.wantsTokens()) {}

    void message(std::string_view text) { writer_.message(text); }

    // An input line that begins with a marker, on physical line `line` (0
    // when lines are not counted); inputLine points into the text being
    // scanned, at the marker, before tokenising cuts it.
    void blockMet(const char* inputLine, std::size_t line);
    // A key=value token was handed to the value rendering: keyText is the
    // token's text before the "=", valueText the value text after it.
    void valueRendered(int entry, int column, std::uint32_t key, std::string_view keyText,
                       const char* valueText);
    // A token whose key the catalogue does not know, passed over whole.
    void keyUnrecognized(const char* token);
    // The token beginning at tokenStart, inside the block's input line,
    // lacks its "=" or value: the rest of that line is dropped.
    void formatBroken(const char* tokenStart);
    // The block's input line is scanned: hands the block to the writer.
    void blockEnded();

    // The report is over: hands it to the writer as the slots hold it now,
    // and starts the next one empty.
    void endReport(const ValueSlotTable& slots, int number, bool complete, bool readFailed);

  private:
    ReportWriter& writer_;
    bool keepTokens_;
    std::size_t reportLine_ = 0;
    std::optional<ReportToken> raw_[KeyEntryCount][2];
    // The block being scanned, and its input line before tokenising cut it.
    ReportBlock block_;
    const char* blockStart_ = nullptr;
    std::string blockText_;
};

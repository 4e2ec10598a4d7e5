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
#include <vector>

#include "catalogue.h"
#include "report_writer.h"
#include "value_slots.h"

class ReportCollector {
  public:
    explicit ReportCollector(ReportWriter& writer)
        : writer_(writer),
          countLines_(writer.wantsLineNumbers()),
          keepTokens_(writer.wantsTokens()) {}

    bool countsLines() const { return countLines_; }

    // Where the text the scan goes on with begins, for the line numbers:
    // a chunk of a log, which begins on input line `line` and holds at most
    // one line feed, at its end; or a whole text (the clipboard copy), whose
    // line feeds are counted in pristine, a copy made before the scan cut
    // it. Needed only when lines are counted.
    void startChunk(const char* chunk, std::size_t line);
    void startText(const char* text, std::size_t line, std::string pristine);

    void message(std::string_view text) { writer_.message(text); }

    // An input line that begins with a marker; inputLine points into the
    // text being scanned, at the marker, before tokenising cuts it.
    void blockMet(const char* inputLine);
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
    // The same for a report cut short, saying why (CutReason::None: complete).
    void endReport(const ValueSlotTable& slots, int number, CutReason cut, bool readFailed);

    // The blocks and tokens the report under way has held so far.
    std::size_t items() const { return items_; }

  private:
    std::size_t lineOf(const char* position);

    ReportWriter& writer_;
    bool countLines_;
    bool keepTokens_;
    // Line counting: where the text scanned begins, the pristine copy of a
    // whole text, how far into it line feeds have been counted, and the
    // line reached there.
    const char* base_ = nullptr;
    std::string pristine_;
    std::size_t counted_ = 0;
    std::size_t line_ = 0;
    std::size_t reportLine_ = 0;
    std::size_t items_ = 0;
    // Handed to the writer and kept, so that the next report reuses its
    // storage: a report's lines cost no allocation once the first is done.
    DecodedReport report_;
    // Whether the token that last wrote each slot was malformed.
    bool malformed_[KeyEntryCount][2] = {};
    // The report's blocks, kept from report to report with their tokens, so
    // that a block no longer than the last report's costs no construction.
    std::vector<ReportBlock> blocks_;
    std::size_t blockCount_ = 0;  // of the report under way
    std::size_t tokenCount_ = 0;  // of the block under way
    // Where the token that last wrote each slot stands among them.
    static constexpr std::size_t NoBlock = static_cast<std::size_t>(-1);
    struct TokenPlace {
        std::size_t block = NoBlock;
        std::size_t token = 0;
    };
    TokenPlace raw_[KeyEntryCount][2];
    // The input line of the block being scanned, before tokenising cut it.
    const char* blockStart_ = nullptr;
    std::string blockText_;

    ReportToken& nextToken();
};

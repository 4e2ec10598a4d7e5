// Collects what a decoding run tells its observer into one DecodedReport
// (report_model.h) after another, and hands each to the caller's handler.
//
// The run tells the collector where each text it scans begins, so that a
// report's first block can be given its input line, and when a report's text
// is complete. Only runs that hand out reports have a collector.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "catalogue.h"
#include "report_model.h"
#include "run_observer.h"
#include "value_slots.h"

class ReportCollector : public RunObserver {
  public:
    explicit ReportCollector(const ReportHandler& onReport) : onReport_(onReport) {}

    // A chunk of a log file, which begins on input line `line`.
    void startFileChunk(const char* chunk, std::size_t line);
    // The clipboard copy, which begins on input line `line`.
    void startText(const char* text, std::size_t line);
    // The report's text is complete: hands the report as the slots hold it
    // now to the handler, and starts the next one empty. complete is false
    // when the input ended before the report's "OK".
    void endReport(const ValueSlotTable& slots, int number, int result, bool complete);

    void messageAppended(const char* text) override;
    void blockMet(const char* inputLine) override;
    void valueRendered(int entry, int column, std::uint32_t key, std::string_view keyText,
                       const char* valueText) override;
    void keyUnrecognized(const char* token) override;
    void formatBroken(const char* tokenStart) override;

  private:
    std::size_t lineOf(const char* position);

    const ReportHandler& onReport_;
    DecodedReport report_;
    std::optional<RawToken> raw_[KeyEntryCount][2];
    // The block being scanned: where its input line starts and that line
    // before tokenising cut it.
    const char* blockStart_ = nullptr;
    std::string blockText_;

    // The scan overwrites separators, so line feeds are counted in an
    // untouched copy of a text; a file chunk holds at most one line feed, at
    // its end, so it needs none.
    const char* base_ = nullptr;
    std::string pristine_;
    std::size_t counted_ = 0;
    std::size_t line_ = 1;
};

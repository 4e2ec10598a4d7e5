// A writer for tests: keeps everything a decoding run hands out, and the
// text the window would show of it.
#pragma once

#include <string>
#include <vector>

#include "report_text.h"
#include "report_writer.h"

// Keeps all a run hands out, and its text as the window shows it.
class RecordingWriter : public ReportWriter {
  public:
    explicit RecordingWriter(std::string prefix = "", bool lineNumbers = true);

    void message(std::string_view text) override;
    void block(const ReportBlock& block) override;
    void report(const DecodedReport& report) override;
    bool wantsLineNumbers() const override { return lineNumbers_; }

    std::string text;  // every report's text
    // For each report, in order: the report, its own text, its messages and
    // its blocks.
    std::vector<DecodedReport> reports;
    std::vector<std::string> reportTexts;
    std::vector<std::vector<std::string>> messages;
    std::vector<std::vector<ReportBlock>> blocks;

  private:
    LineStyle style_;
    bool lineNumbers_;
    std::string pending_;
    std::vector<std::string> pendingMessages_;
    std::vector<ReportBlock> pendingBlocks_;
};

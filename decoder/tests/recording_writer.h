// A writer for tests: keeps everything a decoding run hands out, and the
// text the window would show of it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "output_writer.h"

// Keeps all a run hands out, and its text as the window shows it (the text
// writer's, output_writer.h).
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
    bool lineNumbers_;
    StringSink pending_;  // the text of the report under way
    std::unique_ptr<OutputWriter> text_;
    std::vector<std::string> pendingMessages_;
    std::vector<ReportBlock> pendingBlocks_;
};

// The window's text: what a decoding run hands out (report_writer.h),
// written into the message buffer as the report view will show it -- each
// message as it arises, then the report's lines, every line behind the
// window's line prefix and ended by CR LF.
#pragma once

#include <string>
#include <utility>

#include "report_writer.h"

class WindowTextWriter : public ReportWriter {
  public:
    explicit WindowTextWriter(std::string linePrefix) : prefix_(std::move(linePrefix)) {}

    void message(std::string_view text) override;
    void block(const ReportBlock&) override {}
    void report(const DecodedReport& report) override;
    bool wantsLineNumbers() const override { return false; }
    bool wantsTokens() const override { return false; }

  private:
    std::string prefix_;
};

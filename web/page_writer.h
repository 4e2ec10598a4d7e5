// The page's writer: keeps every report of a decoding whole, for the page
// to show one at a time -- its text as vexa-decode prints it, and what its
// title and its JSON document are made of when the page asks for them.
#pragma once

#include <string>
#include <vector>

#include "json_report.h"
#include "report_text.h"
#include "report_writer.h"

struct PageReport {
    DecodedReport decoded;
    ReportDetails details;
    std::string text;
};

class PageWriter : public ReportWriter {
  public:
    PageWriter(const LineStyle& style, std::vector<PageReport>& reports)
        : style_(style), reports_(reports) {}

    void message(std::string_view text) override;
    void block(const ReportBlock& block) override;
    void report(const DecodedReport& report) override;

  private:
    LineStyle style_;
    std::vector<PageReport>& reports_;
    PageReport pending_;
};

// The page's writer: keeps every report of a decoding whole, for the page
// to show one at a time -- its text as vexa-decode prints it (the text
// writer's, kept in memory), and what its title and its JSON document are
// made of when the page asks for them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "json_report.h"
#include "output_writer.h"

struct PageReport {
    DecodedReport decoded;
    ReportDetails details;
    std::string text;
};

class PageWriter : public ReportWriter {
  public:
    PageWriter(const LineStyle& style, std::vector<PageReport>& reports);

    void message(std::string_view text) override;
    void block(const ReportBlock& block) override;
    void report(const DecodedReport& report) override;

  private:
    std::vector<PageReport>& reports_;
    PageReport pending_;
    StringSink text_;  // the report's text under way
    std::unique_ptr<OutputWriter> textWriter_;
};

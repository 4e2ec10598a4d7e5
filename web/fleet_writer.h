// The page's fleet writer: hands every report of a fleet's input to the
// fleet summary, as vexa-decode --summary does, and keeps one row a report
// for the page's table of reports -- the report's number, its line, whether
// it is complete, its messages, and the values of a few telling lines.
#pragma once

#include <nlohmann/json.hpp>

#include "fleet_summary.h"
#include "report_writer.h"

class FleetWriter : public ReportWriter {
  public:
    FleetWriter(FleetSummary& summary, nlohmann::ordered_json& rows)
        : summary_(summary), rows_(rows) {}

    void message(std::string_view text) override;
    void block(const ReportBlock&) override {}
    void report(const DecodedReport& report) override;
    bool wantsTokens() const override { return false; }

  private:
    FleetSummary& summary_;
    nlohmann::ordered_json& rows_;
    int messages_ = 0;  // of the report under way
};

// The table's columns after number, line, complete and messages: for each,
// a short title, the line's label and the column's name (null for a single
// value), and whether it holds numbers.
nlohmann::ordered_json fleetTableColumns();

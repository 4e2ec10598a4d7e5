// Printing decoded reports in the form the options ask for, input after
// input: the window's text; every report under a heading of its own
// (--all); JSON, one document or an array of them; JSON Lines; or CSV
// rows. Whatever can be written as a report ends is written and flushed
// then, so a live stream shows each report as soon as its OK arrives.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "json_report.h"
#include "options.h"
#include "report_model.h"

class ReportPrinter {
  public:
    ReportPrinter(const ConsoleOptions& options, bool severalInputs);

    // Whether a run must hand out its reports (decodeReports); a plain run
    // leaves the window's text in the message buffer for printBuffer.
    bool wantsReports() const { return wantsReports_; }

    // The reports of the input named source follow. With several inputs,
    // text output heads them "==> source <==", as head and tail do.
    void beginInput(const std::string& source);
    // One report as a run hands it out; the message buffer holds its text
    // and is emptied.
    void print(const DecodedReport& report);
    // The message buffer's text as it stands, then emptied.
    void printBuffer();
    // The input is done (a watch's decoding prints its array of documents).
    void endInput();
    // The output is done: the array of documents of a whole run.
    void finish();

  private:
    void writeJson(const nlohmann::ordered_json& value, bool compact);

    const ConsoleOptions& options_;
    bool severalInputs_;
    bool wantsReports_;
    bool arrayPerInput_;  // a watch with --json --all: one array a decoding
    bool arrayWhole_;     // --json with --all or several inputs
    JsonContext context_;
    nlohmann::ordered_json documents_ = nlohmann::ordered_json::array();
    int inputs_ = 0;
};

// A line of our own among the report lines: the line prefix in front, the
// line end behind.
void writeOwnLine(const std::string& text);

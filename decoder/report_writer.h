// What a decoding run hands out, and to whom: a writer that turns the values
// into one output form (the window's text, JSON, CSV, ...). The run knows no
// form; a writer knows no input.
//
// Calls come in the order the run learns things: each message of the report
// under way as it arises, each of its blocks once its input line has been
// scanned (when the writer wants tokens), then the finished report. Messages
// and blocks always belong to the report that is finished next. Everything
// handed over is valid only during the call; a writer that keeps it keeps a
// copy.
#pragma once

#include <string_view>

#include "report_values.h"

class ReportWriter {
  public:
    virtual ~ReportWriter() = default;

    // A message line's text, without prefix and line end: "unrecognized key
    // 7f!", "no recognizable data found!", ...
    virtual void message(std::string_view text) = 0;
    virtual void block(const ReportBlock& block) = 0;
    virtual void report(const DecodedReport& report) = 0;

    // What a writer does not show, the run does not gather: a writer that
    // shows no line numbers (DecodedReport::line, ReportBlock::line) spares
    // it a pass over every byte it would otherwise skip, and one that shows
    // no tokens (ReportLine::raw, blocks) a copy of every token. Asked once,
    // as the run begins.
    virtual bool wantsLineNumbers() const { return true; }
    virtual bool wantsTokens() const { return true; }
};

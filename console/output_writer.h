// How vexa-decode writes what it decodes: one writer for the whole program,
// of the form the options ask for, each form in a file named for it
// (text_writer.cpp, json_writer.cpp, jsonl_writer.cpp, csv_writer.cpp,
// summary_writer.cpp).
//
// Besides what each decoding run hands out (report_writer.h), a writer
// hears where each input begins and ends and when the output is done.
// Whatever a form can write as a report ends is written then, and flushed
// when the input is live (setLiveInput), so a live stream shows each report
// as soon as its OK arrives. A report that a read error cut short is
// written in no form: the error is said instead.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "json_report.h"
#include "options.h"
#include "report_text.h"
#include "report_writer.h"

class OutputWriter : public ReportWriter {
  public:
    // The reports of the input named source follow ("-": standard input,
    // "clipboard", or a port's name).
    virtual void beginInput(const std::string& source) = 0;
    // A line of the program's own among the reports (a watch's heading); a
    // form without room for one leaves it out.
    virtual void ownLine(const std::string&) {}
    virtual void endInput() {}
    // Every input is done.
    virtual void finish() {}
};

// The writer of the form the options ask for; severalInputs when more than
// one input is named.
std::unique_ptr<OutputWriter> makeOutputWriter(const ConsoleOptions& options, bool severalInputs);

// The forms. Text: the window's text of each report, with titled every
// report under its --all title, with severalInputs each input under
// "==> name <==" as head and tail do.
std::unique_ptr<OutputWriter> makeTextWriter(const LineStyle& style, bool titled,
                                             bool severalInputs);
// JSON: in a watch one compact line a decoding, holding its documents'
// array with arrays; else one document, or with arrays an array of all.
std::unique_ptr<OutputWriter> makeJsonWriter(const JsonContext& context, bool watch, bool arrays);
// JSON Lines: one compact document a line.
std::unique_ptr<OutputWriter> makeJsonLinesWriter(const JsonContext& context);
// CSV: a header row (unless header is false), then one row a report.
std::unique_ptr<OutputWriter> makeCsvWriter(const std::string& lineEnd, bool header = true);
// --summary: nothing until every input is done, then the fleet summary as
// text (summary_text.h) or as one JSON document.
std::unique_ptr<OutputWriter> makeSummaryWriter(const LineStyle& style, bool json, bool bySource);

// Writes bytes to standard output as they are; flushOutput after what a
// reader may wait for, which flushes only while the input is live: a file
// read whole is written in large blocks.
void writeOutput(std::string_view bytes);
// Flushes standard output; "" when all was written, or else the reason the
// first write failed (strerror).
std::string finishOutput();
void flushOutput();
void setLiveInput(bool live);

// The writers of every output form: each made with its settings and the
// sink it writes into (output_sink.h), each form in a file named for it
// (text_writer.cpp, json_writer.cpp for JSON and JSON Lines,
// csv_writer.cpp, summary_writer.cpp). vexa-decode chooses one from its options; the window
// and the page make the text writer; the fuzz targets make them all.
//
// Besides what each decoding run hands out (report_writer.h), a writer
// hears where each input begins and ends and when the output is done.
// Whatever a form can write as a report ends is written then and the sink
// flushed, so a live stream shows each report as soon as its OK arrives.
// A report that a read error cut short is written in no form but the
// window's text: the error is said instead.
#pragma once

#include <memory>
#include <string>

#include "json_report.h"
#include "output_sink.h"
#include "report_text.h"
#include "report_writer.h"

class OutputWriter : public ReportWriter {
  public:
    // The reports of the input named name follow ("-": standard input,
    // "clipboard", or a port's name); nameInUtf8 is the same name in UTF-8,
    // for the forms that are (JSON, CSV).
    virtual void beginInput(const std::string& name, const std::string& nameInUtf8) = 0;
    // A line of the program's own among the reports (a watch's heading); a
    // form without room for one leaves it out.
    virtual void ownLine(const std::string&) {}
    virtual void endInput() {}
    // Every input is done.
    virtual void finish() {}
    // The writer keeps a report until it ends, so the run bounds a report's
    // size (RunSettings::reportItemLimit); the text without titles writes as
    // it goes, and shows any report whole, as the window does.
    virtual bool keepsWholeReports() const { return true; }
};

struct TextSettings {
    LineStyle style;
    bool titled = false;         // each report under its --all title
    bool severalInputs = false;  // each input under "==> name <==", as head and tail do
    // A report that a read error cut short shows what came before, as the
    // window shows a read error: like the end of the file.
    bool showsReadFailed = false;
};

// Text: the window's text of each report.
std::unique_ptr<OutputWriter> makeTextWriter(OutputSink& sink, const TextSettings& settings);
// JSON: in a watch one compact line a decoding, holding its documents'
// array with arrays; else one document, or with arrays an array of all.
std::unique_ptr<OutputWriter> makeJsonWriter(OutputSink& sink, const JsonContext& context,
                                             bool watch, bool arrays);
// JSON Lines: one compact document a line.
std::unique_ptr<OutputWriter> makeJsonLinesWriter(OutputSink& sink, const JsonContext& context);
// CSV: a header row (unless header is false), then one row a report.
std::unique_ptr<OutputWriter> makeCsvWriter(OutputSink& sink, const std::string& lineEnd,
                                            bool header = true);
// --summary: nothing until every input is done, then the fleet summary as
// text (summary_text.h) or as one JSON document.
std::unique_ptr<OutputWriter> makeSummaryWriter(OutputSink& sink, const LineStyle& style, bool json,
                                                bool bySource);

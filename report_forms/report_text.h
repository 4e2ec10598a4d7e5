// The text form of a report, as the window shows it and vexa-decode prints
// it: every message, then one line per report line in catalogue order, the
// label padded to the longest label's width (line_catalogue.h), then ": "
// and the value or the two values around "/". Each line of the text is the
// line prefix, the line's own text and the line end. Lines have no length limit: a long
// verbatim value is shown whole.
#pragma once

#include <string>
#include <string_view>

#include "report_values.h"

// What a writer puts around every line of text: given to it by its front
// end, which read the options.
struct LineStyle {
    std::string prefix;  // empty, or a configured prefix and one space
    std::string end = "\r\n";
};

// A report line's values as the text shows them after the label: the value,
// or the two around "/", one that did not arrive shown as "NA". Values that
// hold a "/" themselves get " / " so the two stay apart; the label's own "/"
// does not count.
struct ValuePieces {
    std::string_view first;
    std::string_view between;  // empty for a single value
    std::string_view last;

    std::size_t size() const { return first.size() + between.size() + last.size(); }
};
ValuePieces reportLineValues(const ReportLine& line);

// A report line's own text: the padded label, ": " and its values.
std::string reportLineText(const ReportLine& line);

// Appends prefix, text and line end to out.
void appendTextLine(const LineStyle& style, std::string_view text, std::string& out);

// Appends prefix, the report line's own text and line end to out: what
// appendTextLine(style, reportLineText(line), out) appends, without the
// texts in between, for a run that writes a million lines.
void appendReportLine(const LineStyle& style, const ReportLine& line, std::string& out);

// What appendReportLine appends, in two steps for a writer that sizes its
// text once for a whole report: the room it needs (a few bytes more than it
// may take), then its bytes written at `at`, which has that room; returns
// their end.
std::size_t reportLineRoom(const LineStyle& style, const ReportLine& line);
char* writeReportLine(const LineStyle& style, const ReportLine& line, char* at);

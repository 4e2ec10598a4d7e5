// The window's text writer.

#include "window_text_writer.h"

#include "message_buffer.h"
#include "report_text.h"

void WindowTextWriter::message(std::string_view text) {
    appendLine(prefix_, text);
}

// A report cut short by a read error shows what came before it, as the
// window always showed a read error: like the end of the file.
void WindowTextWriter::report(const DecodedReport& report) {
    for (const ReportLine& line : report.lines) {
        appendLine(prefix_, reportLineText(line));
    }
}

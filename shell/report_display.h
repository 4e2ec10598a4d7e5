// Putting a report on display: every report the program shows is the
// message buffer's whole text, set into the report view right after a
// decoding run, with the source pane naming where it came from.
#pragma once

// Sets the report view's text to the message buffer.
void showMessageBuffer();
// Sets the status bar's source pane (pane 0).
void showReportSource(const char* source);

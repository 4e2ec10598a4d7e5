// The three-line report header that front ends write in front of a saved
// report and of copied report text.
#pragma once

#include <string>

extern const char VersionBanner[];
extern const char NoticeLine[];
extern const char RuleLine[];

// The header's lines, in order; they hold no line ends.
extern const char* const ReportHeaderLines[3];

// The header as written: each line as prefix, text and CR LF. A saved
// report's header carries the line prefix, a copied one none.
std::string reportHeader(const char* prefix);

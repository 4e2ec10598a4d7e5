// The three-line report header written in front of a saved report and of
// copied report text, and the About box's own two lines.
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

// The About box's maker and contact lines; not part of the report header.
extern const char AboutMakerLine[];
extern const char AboutContactLine[];

// The three-line report header written in front of a saved report and of
// copied report text, and the About box's own two lines. The texts hold no
// line ends; each writer adds its own (and, when saving, the line prefix).
#pragma once

#include <cstddef>

extern const char* const kVersionBanner;
extern const char* const kNoticeLine;
extern const char* const kRuleLine;

// The About box's maker and contact lines; not part of the report header.
extern const char* const kAboutMakerLine;
extern const char* const kAboutContactLine;

// Bytes the header takes as copied text: the three lines, each with CR LF.
std::size_t reportHeaderLength();

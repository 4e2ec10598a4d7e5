// The report header texts and the About box's lines.
#include "report_header.h"

#include <cstring>

const char* const kVersionBanner =
    "Veltrano Diagnostics/W32, version 1.0.1.4, compiled at Jan 28 2001 19:53:30";
const char* const kNoticeLine =
    "(c) 2001 Veltrano Communications. Support: support@veltrano.example, www.veltrano.example";
const char* const kRuleLine =
    "----------------------------------------------------------------------------";

const char* const kAboutMakerLine = "Copyright (c) 2001 Veltrano Communications";
const char* const kAboutContactLine = "support@veltrano.example  -  www.veltrano.example";

std::size_t reportHeaderLength() {
    return std::strlen(kVersionBanner) + 2 + std::strlen(kNoticeLine) + 2 + std::strlen(kRuleLine) +
           2;
}

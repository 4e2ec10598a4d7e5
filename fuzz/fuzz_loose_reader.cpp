// Fuzzes the tolerant reading (--loose, and a port's answer): the input is
// read loosely with every report and the item limit, once handed out whole
// and once in pieces of 1 to 7 bytes. Both must give the same reports and
// text, in well-formed lines; gzip and UTF-16 inputs are decoded inside the
// same run, so their damaged forms are fuzzed too, and so are the repairs
// of time stamps, escape sequences, damaged markers and merged calls.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "decoding_run.h"
#include "output_checks.h"

namespace {

std::string decodeLoosely(const std::uint8_t* data, std::size_t size, bool trickle,
                          std::string* text) {
    PieceSource source(data, size, size, trickle);
    RunSettings settings;
    settings.looseReading = true;
    // As --loose reads: markers anywhere, damaged markers, merged calls.
    settings.looseMarkers = true;
    settings.scope = ReportScope::Every;
    settings.reportItemLimit = ReportItemLimit;
    CheckedText writer("");
    const RunOutcome outcome = decodeReports(source, settings, writer);
    require(!outcome.readFailed, "a memory source is read whole");
    linesOf(writer.text, "");
    *text = writer.text;
    return writer.reports;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string wholeText;
    std::string trickledText;
    const std::string whole = decodeLoosely(data, size, false, &wholeText);
    const std::string trickled = decodeLoosely(data, size, true, &trickledText);
    require(whole == trickled, "pieces of any size read to the same reports");
    require(wholeText == trickledText, "pieces of any size read to the same text");
    return 0;
}

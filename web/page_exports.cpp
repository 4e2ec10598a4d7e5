// The functions the browser page calls in the WebAssembly module: decode a
// capture as vexa-decode decodes a named log, then hand out each report's
// text, --all title and JSON document, and the header a copy carries.
//
// The capture's bytes are written to a file in the module's in-memory file
// system (capture_file.h) and the decoder reads that file, so a capture
// decodes exactly as the same bytes on disk would. The reports of the last
// decoding stay here until the next; a pointer handed out is valid until
// the next call.

#include <emscripten/emscripten.h>

#include <cstddef>
#include <cstdio>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "capture_file.h"
#include "decoding_run.h"
#include "file_bytes.h"
#include "page_writer.h"
#include "report_header.h"
#include "report_title.h"

namespace {

std::vector<PageReport> reports;
JsonContext jsonContext;
std::string handedOut;

const PageReport* reportAt(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= reports.size()) {
        return nullptr;
    }
    return &reports[static_cast<std::size_t>(index)];
}

const char* handOut(std::string text) {
    handedOut = std::move(text);
    return handedOut.c_str();
}

}  // namespace

extern "C" {

// Decodes length bytes as a log; prefix is the text of a line prefix when
// hasPrefix is set. Returns the number of reports (at least 1), or 0 when
// the capture could not be stored or read (out of memory).
EMSCRIPTEN_KEEPALIVE int vexaDecode(const char* bytes, std::size_t length, const char* prefix,
                                    int hasPrefix) {
    reports.clear();
    LineStyle style;
    style.prefix = hasPrefix != 0 ? std::string(prefix) + " " : std::string();
    jsonContext.hasPrefix = hasPrefix != 0;
    jsonContext.prefix = prefix;

    std::FILE* file = openCapture(bytes, length);
    if (file == nullptr) {
        return 0;
    }
    bool decoded = true;
    try {
        RunSettings settings;
        settings.scope = ReportScope::Every;
        PageWriter writer(style, reports);
        decoded = !decodeFile(file, settings, writer).readFailed;
    } catch (const std::bad_alloc&) {
        decoded = false;
    }
    closeCapture(file);
    if (!decoded) {
        reports.clear();
    }
    return static_cast<int>(reports.size());
}

// The report's text as vexa-decode prints it: 8-bit, CR LF line ends.
EMSCRIPTEN_KEEPALIVE const char* vexaReportText(int index) {
    const PageReport* report = reportAt(index);
    return report != nullptr ? report->text.data() : "";
}

EMSCRIPTEN_KEEPALIVE std::size_t vexaReportTextLength(int index) {
    const PageReport* report = reportAt(index);
    return report != nullptr ? report->text.size() : 0;
}

// The title vexa-decode --all puts above the report, without prefix and
// line end; empty for a report without a block.
EMSCRIPTEN_KEEPALIVE const char* vexaReportTitle(int index) {
    const PageReport* report = reportAt(index);
    return report != nullptr ? handOut(reportTitle(report->decoded)) : "";
}

// vexa-decode --json's document of the report, as UTF-8 text with its line
// end; source names the input in it. Empty when memory runs out.
EMSCRIPTEN_KEEPALIVE const char* vexaReportDocument(int index, const char* source) {
    const PageReport* report = reportAt(index);
    if (report == nullptr) {
        return "";
    }
    jsonContext.source = source;
    try {
        return handOut(reportDocument(report->decoded, report->details, jsonContext) + "\n");
    } catch (const std::bad_alloc&) {
        return "";
    }
}

// The three header lines a copy puts in front of the report, without prefix.
EMSCRIPTEN_KEEPALIVE const char* vexaCopyHeader() {
    return handOut(reportHeader(""));
}

}  // extern "C"

// The functions the page's fleet view calls in the WebAssembly module: a
// fleet is begun, then each input is decoded into its summary (the same
// fleet summary vexa-decode --summary fills) and hands back its rows of the
// table of reports; the summary's document comes last, byte for byte what
// vexa-decode --summary --by-source --json prints for the same inputs in the
// same order. A pointer handed out is valid until the next call.

#include <emscripten/emscripten.h>

#include <cstddef>
#include <memory>
#include <new>
#include <string>

#include "capture_file.h"
#include "decoding_run.h"
#include "file_bytes.h"
#include "fleet_writer.h"
#include "summary_json.h"

namespace {

std::unique_ptr<FleetSummary> fleet;
std::string handedOut;

const char* handOut(std::string text) {
    handedOut = std::move(text);
    return handedOut.c_str();
}

}  // namespace

extern "C" {

// Forgets the fleet so far.
EMSCRIPTEN_KEEPALIVE void vexaFleetBegin() {
    fleet = std::make_unique<FleetSummary>();
}

// Decodes length bytes as the input named source, every report; returns its
// rows as a JSON array (fleet_writer.h), or "" when the capture could not be
// stored or decoded (out of memory).
EMSCRIPTEN_KEEPALIVE const char* vexaFleetAdd(const char* bytes, std::size_t length,
                                              const char* source) {
    if (!fleet) {
        vexaFleetBegin();
    }
    std::FILE* file = openCapture(bytes, length);
    if (file == nullptr) {
        return "";
    }
    try {
        nlohmann::ordered_json rows = nlohmann::ordered_json::array();
        RunSettings settings;
        settings.scope = ReportScope::Every;
        FleetWriter writer(*fleet, rows);
        fleet->beginSource(source);
        decodeFile(file, settings, writer);
        fleet->endSource();
        closeCapture(file);
        return handOut(rows.dump());
    } catch (const std::bad_alloc&) {
        closeCapture(file);
        return "";
    }
}

// The fleet's summary document, with a row per input, and its line end.
EMSCRIPTEN_KEEPALIVE const char* vexaFleetSummary() {
    if (!fleet) {
        vexaFleetBegin();
    }
    try {
        return handOut(summaryDocument(*fleet, true).dump(2) + "\n");
    } catch (const std::bad_alloc&) {
        return "";
    }
}

// The table's value columns, as a JSON array (fleet_writer.h).
EMSCRIPTEN_KEEPALIVE const char* vexaFleetColumns() {
    return handOut(fleetTableColumns().dump());
}

}  // extern "C"

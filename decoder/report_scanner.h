// Report scanning: finds the diagnostic blocks in one chunk of input text,
// cuts them into key=value tokens and renders every value into the slots.
//
// A chunk is scanned in place: separators and token ends are overwritten
// with zeros, so the chunk must be writable and is spoiled afterwards. Each
// chunk starts a new input line. Messages, blocks and tokens go to the
// collector as they arise; a message has any length: a format message
// quotes a first token of any size whole.
#pragma once

#include <string_view>

#include "report_collector.h"
#include "value_slots.h"

struct ScanState {
    ScanState(ValueSlotTable& valueSlots, ReportCollector& reportCollector)
        : slots(valueSlots), collector(reportCollector) {}

    ValueSlotTable& slots;
    ReportCollector& collector;
    // Set by the first input line that begins with a marker; never cleared.
    bool blockSeen = false;
    // A marker anywhere in an input line begins a block there, and "OK"
    // standing as a word of its own in a line without a marker ends a
    // report: captures whose lines carry time stamps or port tags. Without
    // it a marker or "OK" must begin its line.
    bool looseMarkers = false;
    // Where the chunk goes on after the "OK" line that ended the scan, for a
    // caller that decodes the reports that follow.
    char* rest = nullptr;
    // With a limit, a report that has held more blocks and tokens than that
    // (collector.items()) ends after the block that passed it, as at an
    // "OK": overLimit then says so. No real report comes near.
    std::size_t itemLimit = 0;
    bool overLimit = false;
    // The last chunk scanned ended inside a block's input line: no ">" or
    // line end closed it.
    bool blockAtEnd = false;
};

// The first SpacedMarker in text, or else the first UnspacedMarker
// (catalogue.h), or null.
const char* findBlockMarker(std::string_view text);

// Scans one zero-terminated chunk. Returns true when an input line beginning
// with "OK" after a block, or the item limit, ended the scan: nothing more
// may be read.
bool scanChunk(char* chunk, ScanState& state);

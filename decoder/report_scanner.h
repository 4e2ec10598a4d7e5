// Report scanning: finds the diagnostic blocks in one chunk of input text,
// cuts them into key=value tokens and renders every value into the slots.
//
// A chunk is scanned in place: separators and token ends are overwritten
// with zeros, so the chunk must be writable and is spoiled afterwards. Each
// chunk starts a new input line. Messages, blocks and tokens go to the
// collector as they arise; a message has any length: a format message
// quotes a first token of any size whole.
#pragma once

#include <bitset>
#include <string>
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

    // With splitCalls (the loose reading), a block that sets a key the open
    // report already holds is the next call's, whose OK was lost: the scan
    // ends before it with nextCall set, and rest points at its line, whole
    // again. Lowercase "ok" and "Ok" alone on a line end a report too, and
    // a line that is a block but for a damaged marker is read as one.
    bool splitCalls = false;
    bool nextCall = false;
    // What the scan met that the window's reading loses or that the loose
    // reading repaired, since the caller last cleared it (ScanNote bits).
    unsigned notes = 0;
    // The keys (entry and column) the report under way has set, and those
    // the block being scanned sets. The first merge of a report, and the
    // first marker after other text (a time stamp on every line), are
    // noted once a report.
    std::bitset<KeyEntryCount * 2> reportKeys;
    std::bitset<KeyEntryCount * 2> blockKeys;
    bool mergeNoted = false;
    bool markerInsideNoted = false;
    std::string scratch;
};

enum ScanNote : unsigned {
    MergedCallNote = 1,         // a block set a key the report held: two calls merged
    MarkerInsideNote = 2,       // a marker stood after other text on its line
    DamagedMarkerNote = 4,      // a block's marker was damaged; dropped
    DamagedMarkerReadNote = 8,  // the same, read as a block
};

// Starts the next report's key tracking.
void beginScanReport(ScanState& state);

// The first SpacedMarker in text, or else the first UnspacedMarker
// (catalogue.h), or null.
const char* findBlockMarker(std::string_view text);

// Scans one zero-terminated chunk. Returns true when an input line beginning
// with "OK" after a block, or the item limit, ended the scan: nothing more
// may be read.
bool scanChunk(char* chunk, ScanState& state);

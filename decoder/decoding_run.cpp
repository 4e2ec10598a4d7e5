// The decoding run: chooses the text source, feeds it to the scanner chunk
// by chunk, and ends a report at the "OK" line that ends one and at the end
// of the input. A run for the first report stops at that "OK"; a run for
// every report starts the next one with fresh slots.

#include "decoding_run.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <string_view>

#include "chunk_reader.h"
#include "loose_reader.h"
#include "report_collector.h"
#include "report_scanner.h"
#include "value_slots.h"

namespace {

struct ClipboardCopy {
    // The clipboard text from its first marker on, or null when the
    // clipboard gave nothing to scan (its one message has then been given).
    char* text = nullptr;
    // Line feeds in the clipboard text before the copy's start, when lines
    // are counted.
    std::size_t lineFeedsBefore = 0;
};

// Opens the clipboard, copies its text into storage and closes it again on
// every path.
ClipboardCopy copyClipboardText(ClipboardSource& clipboard, std::string& storage, bool countLines,
                                ReportCollector& collector) {
    ClipboardCopy copy;
    if (!clipboard.open()) {
        collector.message("cannot open clipboard!");
        return copy;
    }
    const ClipboardBlock block = clipboard.text();
    if (block.bytes == nullptr) {
        clipboard.close();
        collector.message("no text data in clipboard available!");
        return copy;
    }
    // Nothing is read past the block, whether or not it holds a zero.
    const void* zero = std::memchr(block.bytes, '\0', block.size);
    const std::string_view text(
        block.bytes, zero != nullptr ? static_cast<const char*>(zero) - block.bytes : block.size);
    const char* start = findBlockMarker(text);
    if (start == nullptr) {
        clipboard.close();
        collector.message("no statistics data in clipboard available!");
        return copy;
    }
    try {
        storage.assign(start, text.data() + text.size());
    } catch (const std::bad_alloc&) {
        clipboard.close();
        collector.message("stack overflow!");
        return copy;
    }
    copy.text = &storage[0];
    if (countLines) {
        copy.lineFeedsBefore = static_cast<std::size_t>(std::count(text.data(), start, '\n'));
    }
    clipboard.close();
    return copy;
}

class DecodingRun {
  public:
    DecodingRun(const RunSettings& settings, ReportWriter& writer)
        : settings_(settings), collector_(writer) {
        resetValueSlots(slots_);
        state_.looseMarkers = settings.looseMarkers;
        state_.itemLimit = settings.reportItemLimit;
        state_.splitCalls = settings.looseReading;
    }

    RunOutcome run(ByteSource& source) {
        scanStream(source);
        return end();
    }

    RunOutcome run(ClipboardSource& clipboard) {
        if (!scanClipboard(clipboard)) {
            outcome_.clipboardUnread = true;
            return outcome_;
        }
        return end();
    }

  private:
    RunOutcome end() {
        // The end of the input ends the report under way, if it has a
        // block (then without its "OK"), or else the run that found none.
        if (!finished_ && (state_.blockSeen || number_ == 0)) {
            endReport(state_.blockSeen ? endReason_ : CutReason::None);
        }
        return outcome_;
    }

    // Between reports, a chunk without a marker changes nothing.
    void scanStream(ByteSource& source) {
        if (settings_.looseReading) {
            scanLoosely(source);
            return;
        }
        WindowDrops* drops = settings_.noteDrops ? &outcome_.drops : nullptr;
        ChunkReader reader(source, settings_.blockSize, collector_.countsLines(), drops);
        for (char* chunk = reader.next(true); chunk != nullptr;
             chunk = reader.next(!state_.blockSeen)) {
            if (collector_.countsLines()) {
                collector_.startChunk(chunk, reader.line());
            }
            const bool ended = scan(chunk);
            if (drops != nullptr) {
                noteDrops(*drops, reader.line());
            }
            // A block whose line the chunk's end cut lost what followed.
            if (drops != nullptr && state_.blockAtEnd && reader.chunkCut()) {
                drops->note(DropKind::LongLine, reader.line());
            }
            if (ended) {
                return;
            }
        }
        outcome_.readFailed = reader.failed();
        reader.noteEndOfText();
        endReason_ = source.endReason();
        outcome_.compression = outcome_.drops.compression;
    }

    void scanLoosely(ByteSource& source) {
        LooseReader& reader = loose_.emplace(source, settings_.blockSize);
        for (char* line = reader.next(); line != nullptr; line = reader.next()) {
            if (collector_.countsLines()) {
                collector_.startChunk(line, reader.line());
            }
            const bool ended = scan(line);
            if ((state_.notes & DamagedMarkerReadNote) != 0) {
                reader.noteMend(LooseReader::DamagedMarker, reader.line());
            }
            state_.notes = 0;
            if (ended) {
                break;
            }
        }
        outcome_.readFailed = outcome_.readFailed || reader.failed();
        endReason_ = reader.endReason();
        outcome_.inputDamaged = reader.damaged();
        outcome_.compression = reader.compression();
    }

    void noteDrops(WindowDrops& drops, std::size_t line) {
        const struct {
            ScanNote note;
            DropKind kind;
        } kinds[] = {{MergedCallNote, DropKind::MergedCall},
                     {MarkerInsideNote, DropKind::MarkerInside},
                     {DamagedMarkerNote, DropKind::DamagedMarker}};
        for (const auto& kind : kinds) {
            if ((state_.notes & kind.note) != 0) {
                drops.note(kind.kind, line);
            }
        }
        state_.notes = 0;
    }

    // Returns false when the clipboard gave nothing to scan; its one message
    // is then the run's only report.
    bool scanClipboard(ClipboardSource& clipboard) {
        const ClipboardCopy copy =
            copyClipboardText(clipboard, clipboardCopy_, collector_.countsLines(), collector_);
        if (copy.text == nullptr) {
            collector_.endReport(slots_, 1, true, false);
            return false;
        }
        if (collector_.countsLines()) {
            // The scan cuts the copy, so its line feeds are counted in another.
            collector_.startText(copy.text, copy.lineFeedsBefore + 1, clipboardCopy_);
        }
        scan(copy.text);
        return true;
    }

    // Returns true when nothing more may be read.
    bool scan(char* text) {
        while (scanChunk(text, state_)) {
            endReport(state_.overLimit  ? CutReason::TooLong
                      : state_.nextCall ? CutReason::NextCall
                                        : CutReason::None);
            if (settings_.scope == ReportScope::First) {
                finished_ = true;
                return true;
            }
            text = state_.rest;
            beginReport();
        }
        return false;
    }

    void endReport(CutReason cut) {
        if (!state_.blockSeen) {
            collector_.message("no recognizable data found!");
        }
        if (cut == CutReason::TooLong) {
            collector_.message("report ended after " + std::to_string(settings_.reportItemLimit) +
                               " blocks and tokens without its OK, more than any report holds!");
        }
        if (loose_) {
            for (const std::string& mend : loose_->takeMends()) {
                collector_.message(mend);
            }
        }
        outcome_.blockFound = outcome_.blockFound || state_.blockSeen;
        ++number_;
        collector_.endReport(slots_, number_, cut, outcome_.readFailed);
    }

    void beginReport() {
        resetValueSlots(slots_);
        state_.blockSeen = false;
        state_.overLimit = false;
        state_.nextCall = false;
        state_.rest = nullptr;
        beginScanReport(state_);
    }

    const RunSettings& settings_;
    ReportCollector collector_;
    RunOutcome outcome_;
    std::string clipboardCopy_;
    ValueSlotTable slots_;
    ScanState state_{slots_, collector_};
    int number_ = 0;
    bool finished_ = false;
    CutReason endReason_ = CutReason::InputEnded;
    // A loose reading's mends go into each report.
    std::optional<LooseReader> loose_;
};

}  // namespace

RunOutcome decodeReports(ByteSource& source, const RunSettings& settings, ReportWriter& writer) {
    DecodingRun run(settings, writer);
    return run.run(source);
}

RunOutcome decodeClipboard(ClipboardSource& clipboard, const RunSettings& settings,
                           ReportWriter& writer) {
    DecodingRun run(settings, writer);
    return run.run(clipboard);
}

// The decoding run: chooses the text source, feeds it to the scanner chunk
// by chunk, and composes a report at the "OK" line that ends one and at the
// end of the input. A run for the first report stops at that "OK"; a run for
// every report starts the next one with fresh slots and storage.

#include "decoding_run.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <new>
#include <optional>
#include <string_view>

#include "chunk_reader.h"
#include "clipboard_source.h"
#include "decoder.h"
#include "report_collector.h"
#include "report_composition.h"
#include "report_scanner.h"
#include "text_reader.h"
#include "value_slots.h"

namespace {

// A typical report's owned texts fit here; larger ones go upstream.
constexpr std::size_t InitialReportStorage = 1024;

struct ClipboardCopy {
    // The clipboard text from its first marker on, or null when the
    // clipboard gave nothing to scan (one message has then been appended).
    char* text = nullptr;
    // Line feeds in the clipboard text before the copy's start (counted
    // only for an observer).
    std::size_t lineFeedsBefore = 0;
};

// Opens the clipboard, copies its text into storage and closes it again on
// every path.
ClipboardCopy copyClipboardText(std::pmr::memory_resource& storage, RunObserver* observer) {
    ClipboardCopy copy;
    if (!openClipboardText()) {
        appendMessage("cannot open clipboard!", observer);
        return copy;
    }
    const ClipboardBlock block = clipboardText();
    if (block.bytes == nullptr) {
        closeClipboardText();
        appendMessage("no text data in clipboard available!", observer);
        return copy;
    }
    // Nothing is read past the block, whether or not it holds a zero.
    const void* zero = std::memchr(block.bytes, '\0', block.size);
    const std::string_view text(
        block.bytes, zero != nullptr ? static_cast<const char*>(zero) - block.bytes : block.size);
    const char* start = findBlockMarker(text);
    if (start == nullptr) {
        closeClipboardText();
        appendMessage("no statistics data in clipboard available!", observer);
        return copy;
    }
    const std::size_t length = static_cast<std::size_t>(text.data() + text.size() - start);
    try {
        copy.text = static_cast<char*>(storage.allocate(length + 1, 1));
    } catch (const std::bad_alloc&) {
        closeClipboardText();
        appendMessage("stack overflow!", observer);
        return copy;
    }
    std::memcpy(copy.text, start, length);
    copy.text[length] = '\0';
    if (observer != nullptr) {
        copy.lineFeedsBefore = static_cast<std::size_t>(std::count(text.data(), start, '\n'));
    }
    closeClipboardText();
    return copy;
}

class DecodingRun {
  public:
    DecodingRun(ReportScope scope, const RunSettings& settings, ReportCollector* collector)
        : scope_(scope),
          settings_(settings),
          collector_(collector),
          sourceStorage_(settings.upstream),
          reportStorage_(initialStorage_, sizeof initialStorage_, settings.upstream) {
        resetValueSlots(slots_);
        state_.observer = collector;
        state_.looseMarkers = settings.looseMarkers;
    }

    int run(std::FILE* file) {
        const bool stream =
            settings_.source != nullptr ||
            (file != nullptr && (settings_.devicesAreStreams || !isCharacterDevice(file)));
        if (stream) {
            scanFile(file);
        } else if (!scanClipboard()) {
            return 1;
        }
        // The end of the input ends the report under way, if it has a
        // block (then without its "OK"), or else the run that found none.
        if (!finished_ && (state_.blockSeen || number_ == 0)) {
            endReport(!state_.blockSeen);
        }
        return 0;
    }

  private:
    // Between reports, a chunk without a marker changes nothing.
    void scanFile(std::FILE* file) {
        std::size_t blockSize = settings_.blockSize;
        if (settings_.source != nullptr) {
            blockSize = std::max(blockSize, ChunkReader::MinimumBlockSize);
        }
        ChunkReader reader(file, blockSize, collector_ != nullptr, settings_.source);
        for (char* chunk = reader.next(true); chunk != nullptr;
             chunk = reader.next(!state_.blockSeen)) {
            if (collector_ != nullptr) {
                collector_->startFileChunk(chunk, reader.line());
            }
            if (scan(chunk)) {
                return;
            }
        }
    }

    // Returns false when the clipboard gave nothing to scan; its one message
    // is then the run's only report.
    bool scanClipboard() {
        const ClipboardCopy copy = copyClipboardText(sourceStorage_, collector_);
        if (copy.text == nullptr) {
            if (collector_ != nullptr) {
                collector_->endReport(slots_, 1, 1, true);
            }
            return false;
        }
        if (collector_ != nullptr) {
            collector_->startText(copy.text, copy.lineFeedsBefore + 1);
        }
        scan(copy.text);
        return true;
    }

    // Returns true when nothing more may be read.
    bool scan(char* text) {
        while (scanChunk(text, state_)) {
            endReport(true);
            if (scope_ == ReportScope::First) {
                finished_ = true;
                return true;
            }
            text = state_.rest;
            beginReport();
        }
        return false;
    }

    void endReport(bool complete) {
        composeReport(slots_, state_.blockSeen, collector_);
        ++number_;
        if (collector_ != nullptr) {
            collector_->endReport(slots_, number_, 0, complete);
        }
    }

    void beginReport() {
        reportStorage_.release();
        resetValueSlots(slots_);
        state_.blockSeen = false;
        state_.rest = nullptr;
    }

    ReportScope scope_;
    const RunSettings& settings_;
    ReportCollector* collector_;
    // The clipboard copy lives for the whole run, owned texts for one report.
    alignas(std::max_align_t) std::byte initialStorage_[InitialReportStorage];
    std::pmr::monotonic_buffer_resource sourceStorage_;
    std::pmr::monotonic_buffer_resource reportStorage_;
    ValueSlotTable slots_{reportStorage_};
    ScanState state_{slots_};
    int number_ = 0;
    bool finished_ = false;
};

}  // namespace

RunSettings runSettingsFor(std::FILE* file) {
    RunSettings settings;
    settings.blockSize = file != nullptr ? readAheadSize(file) : 0;
    return settings;
}

int runDecoding(std::FILE* file, ReportScope scope, const RunSettings& settings,
                const ReportHandler* onReport) {
    std::optional<ReportCollector> collector;
    if (onReport != nullptr) {
        collector.emplace(*onReport);
    }
    DecodingRun run(scope, settings, collector ? &*collector : nullptr);
    return run.run(file);
}

int decodeReport(std::FILE* file) {
    return runDecoding(file, ReportScope::First, runSettingsFor(file), nullptr);
}

int decodeReports(std::FILE* file, ReportScope scope, const ReportHandler& onReport) {
    return runDecoding(file, scope, runSettingsFor(file), &onReport);
}

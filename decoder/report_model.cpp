// Watched decoding runs: the scan of decode_report.cpp with an observer that
// collects each report, and a loop that starts a new report after each "OK".

#include "report_model.h"

#include <algorithm>
#include <cstdint>
#include <memory_resource>
#include <string_view>

#include "catalogue.h"
#include "chunk_reader.h"
#include "decode_run.h"
#include "report_composition.h"
#include "report_scanner.h"
#include "run_observer.h"
#include "text_reader.h"
#include "value_slots.h"

namespace {

// Gives the physical line of a position in the chunk being scanned. The scan
// overwrites separators, so line feeds are counted in an untouched copy.
class LineCounter {
  public:
    // A file chunk holds at most one line feed, at its end: every input line
    // in it begins on the chunk's first line, and no copy is needed.
    void startFileChunk(const char* chunk, std::size_t line) {
        base_ = chunk;
        pristine_.clear();
        counted_ = 0;
        line_ = line;
    }

    void startText(const char* text, std::size_t line) {
        base_ = text;
        pristine_ = text;
        counted_ = 0;
        line_ = line;
    }

    // Positions must come in ascending order.
    std::size_t lineOf(const char* position) {
        const auto offset = std::min(static_cast<std::size_t>(position - base_), pristine_.size());
        if (offset > counted_) {
            line_ += static_cast<std::size_t>(
                std::count(pristine_.begin() + static_cast<std::ptrdiff_t>(counted_),
                           pristine_.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
            counted_ = offset;
        }
        return line_;
    }

  private:
    const char* base_ = nullptr;
    std::string pristine_;
    std::size_t counted_ = 0;
    std::size_t line_ = 1;
};

// Collects what one report's run tells its observer.
class ReportCollector : public RunObserver {
  public:
    explicit ReportCollector(LineCounter& lines) : lines_(lines) {}

    void messageAppended(const char* text) override { report_.messages.emplace_back(text); }

    void blockMet(const char* inputLine) override {
        if (report_.line == 0) {
            report_.line = lines_.lineOf(inputLine);
        }
    }

    void valueRendered(int entry, int column, std::uint32_t key, std::string_view keyText,
                       const char* valueText) override {
        const RawToken token{std::string(keyText), valueText};
        if (key == BitFieldKey) {
            for (int derived = FirstDerivedEntry; derived <= LastDerivedEntry; ++derived) {
                // Read only where the line shows a pair.
                raw_[derived][0] = token;
                raw_[derived][1] = token;
            }
        } else if (key < KeyDerived) {
            // KeyDerived and KeyNone themselves find an entry but write nothing.
            raw_[entry][column] = token;
        }
    }

    // The report as the slots hold it now; starts the next one empty.
    DecodedReport take(const ValueSlotTable& slots) {
        for (int entry = 0; entry < KeyEntryCount; ++entry) {
            if (slotIsEmpty(slots, entry, 0) && slotIsEmpty(slots, entry, 1)) {
                continue;
            }
            ReportLine line;
            line.entry = entry;
            line.label = KeyCatalogue[entry].label;
            line.valueCount = KeyCatalogue[entry].key2 == KeyNone ? 1 : 2;
            for (int column = 0; column < line.valueCount; ++column) {
                if (!slotIsEmpty(slots, entry, column)) {
                    line.values[column] = slots.text[entry][column];
                }
                line.raw[column] = raw_[entry][column];
            }
            report_.lines.push_back(std::move(line));
        }
        DecodedReport taken = std::move(report_);
        report_ = DecodedReport();
        for (auto& row : raw_) {
            row[0].reset();
            row[1].reset();
        }
        return taken;
    }

  private:
    LineCounter& lines_;
    DecodedReport report_;
    std::optional<RawToken> raw_[KeyEntryCount][2];
};

class ReportRun {
  public:
    ReportRun(ReportScope scope, const ReportHandler& onReport)
        : scope_(scope), onReport_(onReport) {
        resetValueSlots(slots_);
        state_.observer = &collector_;
    }

    // Between reports, a chunk without a marker changes nothing.
    void scanFile(std::FILE* file, std::size_t blockSize) {
        ChunkReader reader(file, blockSize, true);
        for (char* chunk = reader.next(true); chunk != nullptr;
             chunk = reader.next(!state_.blockSeen)) {
            lines_.startFileChunk(chunk, reader.line());
            if (scan(chunk)) {
                return;
            }
        }
    }

    // Returns false when the clipboard gave nothing to scan; its message has
    // then been handed out as the one report.
    bool scanClipboard() {
        const ClipboardCopy copy = copyClipboardReport(sourceStorage_, &collector_);
        if (copy.text == nullptr) {
            DecodedReport report = collector_.take(slots_);
            report.number = 1;
            report.result = 1;
            onReport_(report);
            return false;
        }
        lines_.startText(copy.text, copy.lineFeedsBefore + 1);
        scan(copy.text);
        return true;
    }

    // The end of the input ends the report under way, if it has a block,
    // or else the run that found none at all.
    void finishInput() {
        if (!finished_ && (state_.blockSeen || number_ == 0)) {
            endReport();
        }
    }

  private:
    // Returns true when nothing more may be read.
    bool scan(char* text) {
        while (scanChunk(text, state_)) {
            endReport();
            if (scope_ == ReportScope::First) {
                finished_ = true;
                return true;
            }
            text = state_.rest;
            beginReport();
        }
        return false;
    }

    void endReport() {
        composeReport(slots_, state_.blockSeen, &collector_);
        DecodedReport report = collector_.take(slots_);
        report.number = ++number_;
        onReport_(report);
    }

    void beginReport() {
        reportStorage_.release();
        resetValueSlots(slots_);
        state_.blockSeen = false;
        state_.rest = nullptr;
    }

    ReportScope scope_;
    const ReportHandler& onReport_;
    // The clipboard copy lives for the whole run, owned texts for one report.
    std::pmr::monotonic_buffer_resource sourceStorage_;
    std::pmr::monotonic_buffer_resource reportStorage_;
    ValueSlotTable slots_{reportStorage_};
    ScanState state_{slots_};
    LineCounter lines_;
    ReportCollector collector_{lines_};
    int number_ = 0;
    bool finished_ = false;
};

}  // namespace

int decodeReports(std::FILE* file, ReportScope scope, const ReportHandler& onReport) {
    return decodeReportsInBlocks(file, file != nullptr ? readAheadSize(file) : 0, scope, onReport);
}

int decodeReportsInBlocks(std::FILE* file, std::size_t blockSize, ReportScope scope,
                          const ReportHandler& onReport) {
    ReportRun run(scope, onReport);
    if (file != nullptr && !isCharacterDevice(file)) {
        run.scanFile(file, blockSize);
    } else if (!run.scanClipboard()) {
        return 1;
    }
    run.finishInput();
    return 0;
}

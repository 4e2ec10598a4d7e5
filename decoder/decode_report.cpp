// The decoding run: chooses the text source, feeds it to the scanner chunk
// by chunk and has the report composed.

#include "decoder.h"

#include <cstddef>
#include <cstring>
#include <memory_resource>
#include <new>

#include "clipboard_source.h"
#include "decode_run.h"
#include "message_buffer.h"
#include "report_composition.h"
#include "report_scanner.h"
#include "text_reader.h"
#include "value_slots.h"

namespace {

// One chunk of at most 511 characters and its terminator.
constexpr int LineBufferSize = 512;

// A typical report's owned texts fit here; larger ones go to the heap.
constexpr std::size_t InitialRunStorage = 1024;

void scanFile(std::FILE* file, ScanState& state) {
    char lineBuffer[LineBufferSize];
    while (readChunk(lineBuffer, LineBufferSize, file) != nullptr) {
        if (scanChunk(lineBuffer, state)) {
            return;
        }
    }
}

// Copies the clipboard text from its first marker on into the run's storage
// and scans that copy. Returns false, with one message appended, when the
// clipboard gave nothing to scan.
bool scanClipboard(ScanState& state, std::pmr::memory_resource& storage) {
    if (!openClipboardText()) {
        appendLine("cannot open clipboard!");
        return false;
    }
    const char* text = clipboardText();
    if (text == nullptr) {
        closeClipboardText();
        appendLine("no text data in clipboard available!");
        return false;
    }
    const char* start = findBlockMarker(text);
    if (start == nullptr) {
        closeClipboardText();
        appendLine("no statistics data in clipboard available!");
        return false;
    }
    const std::size_t size = std::strlen(start) + 1;
    char* copy = nullptr;
    try {
        copy = static_cast<char*>(storage.allocate(size, 1));
    } catch (const std::bad_alloc&) {
        closeClipboardText();
        appendLine("stack overflow!");
        return false;
    }
    std::memcpy(copy, start, size);
    closeClipboardText();
    scanChunk(copy, state);
    return true;
}

}  // namespace

int decodeReport(std::FILE* file) {
    return decodeReportWithStorage(file, *std::pmr::new_delete_resource());
}

int decodeReportWithStorage(std::FILE* file, std::pmr::memory_resource& upstream) {
    alignas(std::max_align_t) std::byte initialStorage[InitialRunStorage];
    std::pmr::monotonic_buffer_resource runStorage(initialStorage, sizeof initialStorage,
                                                   &upstream);
    ValueSlotTable slots(runStorage);
    resetValueSlots(slots);
    ScanState state(slots);

    if (file != nullptr && !isCharacterDevice(file)) {
        scanFile(file, state);
    } else if (!scanClipboard(state, runStorage)) {
        return 1;
    }
    composeReport(slots, state.blockSeen);
    return 0;
}

// The decoding run: chooses the text source, feeds it to the scanner chunk
// by chunk and has the report composed.

#include "decoder.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory_resource>
#include <new>

#include "chunk_reader.h"
#include "clipboard_source.h"
#include "decode_run.h"
#include "message_buffer.h"
#include "report_composition.h"
#include "report_scanner.h"
#include "text_reader.h"
#include "value_slots.h"

namespace {

// A typical report's owned texts fit here; larger ones go to the heap.
constexpr std::size_t InitialRunStorage = 1024;

// Until the first block, a chunk without a marker changes nothing.
void scanFile(std::FILE* file, std::size_t blockSize, ScanState& state) {
    ChunkReader reader(file, blockSize);
    for (char* chunk = reader.next(true); chunk != nullptr; chunk = reader.next(!state.blockSeen)) {
        if (scanChunk(chunk, state)) {
            return;
        }
    }
}

// Scans the clipboard's copy. Returns false, with one message appended, when
// the clipboard gave nothing to scan.
bool scanClipboard(ScanState& state, std::pmr::memory_resource& storage) {
    const ClipboardCopy copy = copyClipboardReport(storage);
    if (copy.text == nullptr) {
        return false;
    }
    scanChunk(copy.text, state);
    return true;
}

}  // namespace

ClipboardCopy copyClipboardReport(std::pmr::memory_resource& storage, RunObserver* observer) {
    ClipboardCopy copy;
    if (!openClipboardText()) {
        appendMessage("cannot open clipboard!", observer);
        return copy;
    }
    const char* text = clipboardText();
    if (text == nullptr) {
        closeClipboardText();
        appendMessage("no text data in clipboard available!", observer);
        return copy;
    }
    const char* start = findBlockMarker(text);
    if (start == nullptr) {
        closeClipboardText();
        appendMessage("no statistics data in clipboard available!", observer);
        return copy;
    }
    const std::size_t size = std::strlen(start) + 1;
    try {
        copy.text = static_cast<char*>(storage.allocate(size, 1));
    } catch (const std::bad_alloc&) {
        closeClipboardText();
        appendMessage("stack overflow!", observer);
        return copy;
    }
    std::memcpy(copy.text, start, size);
    if (observer != nullptr) {
        copy.lineFeedsBefore = static_cast<std::size_t>(std::count(text, start, '\n'));
    }
    closeClipboardText();
    return copy;
}

int decodeReport(std::FILE* file) {
    return decodeReportWithStorage(file, *std::pmr::new_delete_resource());
}

int decodeReportWithStorage(std::FILE* file, std::pmr::memory_resource& upstream) {
    return decodeReportInBlocks(file, file != nullptr ? readAheadSize(file) : 0, upstream);
}

int decodeReportInBlocks(std::FILE* file, std::size_t blockSize,
                         std::pmr::memory_resource& upstream) {
    alignas(std::max_align_t) std::byte initialStorage[InitialRunStorage];
    std::pmr::monotonic_buffer_resource runStorage(initialStorage, sizeof initialStorage,
                                                   &upstream);
    ValueSlotTable slots(runStorage);
    resetValueSlots(slots);
    ScanState state(slots);

    if (file != nullptr && !isCharacterDevice(file)) {
        scanFile(file, blockSize, state);
    } else if (!scanClipboard(state, runStorage)) {
        return 1;
    }
    composeReport(slots, state.blockSeen);
    return 0;
}

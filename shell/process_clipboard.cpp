// Process Clipboard and the decoding guard.
#include "process_clipboard.h"

#include "decoding_run.h"
#include "file_bytes.h"
#include "message_buffer.h"
#include "report_display.h"
#include "shell_state.h"
#include "system_clipboard.h"

namespace {

// An owner that changes the clipboard on every read must not keep us
// decoding: after this many passes the last one's report stands.
constexpr int MaxDecodingPasses = 4;

}  // namespace

bool decodeGuarded(std::FILE* file, const TextSettings& text) {
    if (decodingGuard.decoding) {
        decodingGuard.changedMeanwhile = true;
        return false;
    }
    decodingGuard.decoding = true;
    int passesLeft = MaxDecodingPasses;
    do {
        decodingGuard.changedMeanwhile = false;
        emptyMessageBuffer();
        MessageBufferSink sink;
        const auto writer = makeTextWriter(sink, text);
        if (file != nullptr && !isCharacterDevice(file)) {
            decodeFile(file, RunSettings(), *writer);
        } else {
            SystemClipboard clipboard;
            decodeClipboard(clipboard, RunSettings(), *writer);
        }
    } while (decodingGuard.changedMeanwhile && --passesLeft > 0);
    decodingGuard.decoding = false;
    return true;
}

void processClipboard(const TextSettings& text) {
    if (!decodeGuarded(nullptr, text)) {
        return;
    }
    showMessageBuffer();
    showReportSource("Report from clipboard");
}

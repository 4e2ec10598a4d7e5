// Process Clipboard and its guard.
#include "process_clipboard.h"

#include "decoder.h"
#include "message_buffer.h"
#include "report_display.h"

DecodingGuard decodingGuard;

namespace {

// An owner that changes the clipboard on every read must not keep us
// decoding: after this many passes the last one's report stands.
constexpr int MaxDecodingPasses = 4;

}  // namespace

void processClipboard() {
    if (decodingGuard.decoding) {
        decodingGuard.changedMeanwhile = true;
        return;
    }
    decodingGuard.decoding = true;
    int passesLeft = MaxDecodingPasses;
    do {
        decodingGuard.changedMeanwhile = false;
        emptyMessageBuffer();
        decodeReport(nullptr);
    } while (decodingGuard.changedMeanwhile && --passesLeft > 0);
    decodingGuard.decoding = false;
    showMessageBuffer();
    showReportSource("Report from clipboard");
}

// Shows the message buffer in the report view.
#include "report_display.h"

#include <windows.h>

#include <commctrl.h>

#include "decoder.h"
#include "main_window.h"
#include "message_buffer.h"

void showMessageBuffer() {
    // WM_SETTEXT stops at the edit control's text limit; lift it so a huge
    // report is held whole and the copy's selection offsets stay valid
    // offsets into the message buffer.
    SendMessageA(windowState.reportView, EM_SETLIMITTEXT, 0, 0);
    SendMessageA(windowState.reportView, WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(messageBufferText()));
}

void showReportSource(const char* source) {
    SendMessageA(windowState.statusBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(source));
}

void processClipboard() {
    // Reading the clipboard can wait on its owner, and a viewer's change
    // notification may arrive meanwhile. Decoding from inside would mix two
    // reports in the one buffer; note the change and decode again after.
    // An owner that changes the clipboard on every read must not keep us
    // here, so the passes are few.
    static bool decoding = false;
    static bool changedMeanwhile = false;
    if (decoding) {
        changedMeanwhile = true;
        return;
    }
    decoding = true;
    int passesLeft = 4;
    do {
        changedMeanwhile = false;
        emptyMessageBuffer();
        decodeReport(nullptr);
    } while (changedMeanwhile && --passesLeft > 0);
    decoding = false;
    showMessageBuffer();
    showReportSource("Report from clipboard");
}

// Shows the message buffer in the report view.
#include "report_display.h"

#include <windows.h>

#include <commctrl.h>

#include "message_buffer.h"
#include "shell_state.h"

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

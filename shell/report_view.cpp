// Copy with header and Paste-as-decode for the report view.
#include "report_view.h"

#include <cstring>

#include "command_ids.h"
#include "main_window.h"
#include "message_buffer.h"
#include "report_header.h"
#include "viewer_mode.h"

namespace {

char* appendText(char* out, const char* text, std::size_t length) {
    std::memcpy(out, text, length);
    return out + length;
}

char* appendHeaderLine(char* out, const char* line) {
    out = appendText(out, line, std::strlen(line));
    return appendText(out, "\r\n", 2);
}

// Header and selection into the zero-filled block; the block's spare bytes
// are the terminator.
void fillCopy(char* out, DWORD start, DWORD end) {
    out = appendHeaderLine(out, kVersionBanner);
    out = appendHeaderLine(out, kNoticeLine);
    out = appendHeaderLine(out, kRuleLine);
    std::size_t length = messageBufferLength();
    std::size_t first = start < length ? start : length;
    std::size_t last = end < length ? end : length;
    if (last > first) {
        appendText(out, messageBufferText() + first, last - first);
    }
}

HGLOBAL makeCopy(HWND view) {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(view, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    if (end < start) {
        end = start;
    }
    HGLOBAL memory =
        GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, (end - start) + reportHeaderLength() + 4);
    if (memory == nullptr) {
        return nullptr;
    }
    char* text = static_cast<char*>(GlobalLock(memory));
    if (text == nullptr) {
        GlobalFree(memory);
        return nullptr;
    }
    fillCopy(text, start, end);
    GlobalUnlock(memory);
    return memory;
}

LRESULT copyWithHeader(HWND view, WPARAM wParam, LPARAM lParam) {
    if (!OpenClipboard(view)) {
        return CallWindowProcA(windowState.previousReportViewProc, view, WM_COPY, wParam, lParam);
    }
    if (EmptyClipboard()) {
        HGLOBAL memory = makeCopy(view);
        if (memory != nullptr) {
            if (SetClipboardData(CF_TEXT, memory) != nullptr) {
                // The clipboard owns the block now. In viewer mode the change
                // this write causes must not be decoded again.
                viewerState.ignoreNextChange = viewerState.on;
            } else {
                GlobalFree(memory);
            }
        }
    }
    CloseClipboard();
    return 1;
}

}  // namespace

LRESULT CALLBACK reportViewProc(HWND view, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COPY:
            return copyWithHeader(view, wParam, lParam);
        case WM_PASTE:
            SendMessageA(GetParent(view), WM_COMMAND, IDM_PROCESS_CLIPBOARD,
                         reinterpret_cast<LPARAM>(view));
            return 1;
        default:
            return CallWindowProcA(windowState.previousReportViewProc, view, message, wParam,
                                   lParam);
    }
}

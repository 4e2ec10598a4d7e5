// The report view's copy with the header, and its paste that decodes.
#include "report_copy.h"

#include <cstring>
#include <string>

#include "command_ids.h"
#include "message_buffer.h"
#include "report_header.h"
#include "shell_state.h"

namespace {

// The copy's block holds its text and four zero bytes more: the terminator,
// and three that readers of our copies have always found there.
constexpr std::size_t CopySpareBytes = 4;

char* appendText(char* out, const char* text, std::size_t length) {
    std::memcpy(out, text, length);
    return out + length;
}

// Header and selection into the zero-filled block; the block's spare bytes
// are the terminator.
void fillCopy(char* out, const std::string& header, DWORD start, DWORD end) {
    out = appendText(out, header.data(), header.size());
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
    const std::string header = reportHeader("");
    HGLOBAL memory =
        GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, (end - start) + header.size() + CopySpareBytes);
    if (memory == nullptr) {
        return nullptr;
    }
    char* text = static_cast<char*>(GlobalLock(memory));
    if (text == nullptr) {
        GlobalFree(memory);
        return nullptr;
    }
    fillCopy(text, header, start, end);
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

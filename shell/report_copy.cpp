// The report view's copy with the header, and its paste that decodes.
#include "report_copy.h"

#include <cstdlib>
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

// The selected part of the message buffer. The positions count characters
// (UTF-16 units), which in UTF-8 or a double-byte code page are no bytes.
std::string selectedText(DWORD start, DWORD end) {
    const int length = static_cast<int>(messageBufferLength());
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    const int units =
        length == 0 ? 0
                    : MultiByteToWideChar(CP_ACP, 0, messageBufferText(), length, &wide[0], length);
    const int first = static_cast<int>(start < static_cast<DWORD>(units) ? start : units);
    const int last = static_cast<int>(end < static_cast<DWORD>(units) ? end : units);
    if (last <= first) {
        return std::string();
    }
    const wchar_t* selection = wide.data() + first;
    const int bytes =
        WideCharToMultiByte(CP_ACP, 0, selection, last - first, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0) {
        WideCharToMultiByte(CP_ACP, 0, selection, last - first, &text[0], bytes, nullptr, nullptr);
    }
    return text;
}

HGLOBAL makeCopy(HWND view) {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(view, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    if (end < start) {
        end = start;
    }
    const std::string header = reportHeader("");
    const std::string selected = selectedText(start, end);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT,
                                 header.size() + selected.size() + CopySpareBytes);
    if (memory == nullptr) {
        return nullptr;
    }
    char* text = static_cast<char*>(GlobalLock(memory));
    if (text == nullptr) {
        GlobalFree(memory);
        return nullptr;
    }
    appendText(appendText(text, header.data(), header.size()), selected.data(), selected.size());
    GlobalUnlock(memory);
    return memory;
}

// The ANSI code page of the system, in which programs without a UTF-8
// manifest read CF_TEXT; ours may differ (UTF-8, from Windows 10 1903).
UINT systemCodePage() {
    char number[8] = {};
    GetLocaleInfoA(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, number, sizeof number);
    return static_cast<UINT>(std::atoi(number));
}

// The copy's text in UTF-16, the format every program of today reads.
HGLOBAL wideCopy(HGLOBAL copy) {
    const char* text = static_cast<const char*>(GlobalLock(copy));
    HGLOBAL memory = nullptr;
    int length = text == nullptr ? 0 : MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length > 0) {
        memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, length * sizeof(wchar_t));
    }
    if (auto* wide = static_cast<wchar_t*>(memory == nullptr ? nullptr : GlobalLock(memory))) {
        MultiByteToWideChar(CP_ACP, 0, text, -1, wide, length);
        GlobalUnlock(memory);
    }
    if (text != nullptr) {
        GlobalUnlock(copy);
    }
    return memory;
}

// CF_TEXT as programs without our manifest read it: in the system's code
// page, with the copy's spare bytes. The copy itself where that is ours.
HGLOBAL systemCopy(HGLOBAL copy, HGLOBAL wide) {
    const UINT codePage = systemCodePage();
    if (codePage == 0 || codePage == GetACP() || wide == nullptr) {
        return copy;
    }
    const auto* text = static_cast<const wchar_t*>(GlobalLock(wide));
    // A '?' rather than a look-alike letter for what the code page lacks.
    const DWORD flags = WC_NO_BEST_FIT_CHARS;
    int length = WideCharToMultiByte(codePage, flags, text, -1, nullptr, 0, nullptr, nullptr);
    HGLOBAL memory = nullptr;
    if (length > 0) {
        memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, length - 1 + CopySpareBytes);
    }
    if (char* bytes = static_cast<char*>(memory == nullptr ? nullptr : GlobalLock(memory))) {
        WideCharToMultiByte(codePage, flags, text, -1, bytes, length, nullptr, nullptr);
        GlobalUnlock(memory);
    }
    GlobalUnlock(wide);
    if (memory == nullptr) {
        return copy;
    }
    GlobalFree(copy);
    return memory;
}

// CF_UNICODETEXT beside CF_TEXT: with our code page UTF-8 and the system's
// another, a reader of CF_TEXT alone would get our bytes in the wrong code
// page, and Windows would make the UTF-16 text from them in the wrong one.
bool placeCopy(HGLOBAL copy) {
    HGLOBAL wide = wideCopy(copy);
    copy = systemCopy(copy, wide);
    if (SetClipboardData(CF_TEXT, copy) == nullptr) {
        GlobalFree(copy);
        if (wide != nullptr) {
            GlobalFree(wide);
        }
        return false;
    }
    if (wide != nullptr && SetClipboardData(CF_UNICODETEXT, wide) == nullptr) {
        GlobalFree(wide);
    }
    return true;
}

LRESULT copyWithHeader(HWND view, WPARAM wParam, LPARAM lParam) {
    if (!OpenClipboard(view)) {
        return CallWindowProcA(windowState.previousReportViewProc, view, WM_COPY, wParam, lParam);
    }
    if (EmptyClipboard()) {
        HGLOBAL memory = makeCopy(view);
        if (memory != nullptr) {
            if (placeCopy(memory)) {
                // The clipboard owns the blocks now. In viewer mode the change
                // this write causes must not be decoded again.
                viewerState.ignoreNextChange = viewerState.on;
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

// The clipboard of the hostile-input tests on Windows: the real clipboard,
// filled through a message-only window of our own (SetClipboardData needs an
// owner after EmptyClipboard).

#include <windows.h>

#include <stdexcept>

#include "hostile_support.h"

namespace {

HWND createOwnerWindow() {
    return CreateWindowExA(0, "STATIC", "vexa hostile clipboard", 0, 0, 0, 0, 0, HWND_MESSAGE,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

// Another thread can open the clipboard only when the decoder closed it.
DWORD WINAPI probeClipboard(LPVOID result) {
    HWND window = createOwnerWindow();
    const bool opened = OpenClipboard(window) != FALSE;
    if (opened) {
        CloseClipboard();
    }
    DestroyWindow(window);
    *static_cast<bool*>(result) = opened;
    return 0;
}

}  // namespace

void putClipboardText(const std::string& text) {
    HWND window = createOwnerWindow();
    bool stored = false;
    if (OpenClipboard(window)) {
        EmptyClipboard();
        HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
        if (data != nullptr) {
            CopyMemory(GlobalLock(data), text.c_str(), text.size() + 1);
            GlobalUnlock(data);
            stored = SetClipboardData(CF_TEXT, data) != nullptr;
            if (!stored) {
                GlobalFree(data);
            }
        }
        CloseClipboard();
    }
    DestroyWindow(window);
    if (!stored) {
        throw std::runtime_error("cannot fill the clipboard");
    }
}

bool clipboardLeftOpen() {
    bool opened = false;
    HANDLE thread = CreateThread(nullptr, 0, probeClipboard, &opened, 0, nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    return !opened;
}

// The test clipboard on Windows: the real clipboard, filled through a window
// of our own (SetClipboardData needs an owner after EmptyClipboard). To make
// it unavailable, a second thread with its own window holds it open.

#include <windows.h>

#include "test_clipboard.h"

namespace {

HWND createOwnerWindow() {
    return CreateWindowExA(0, "STATIC", "vexa test clipboard", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

struct Holder {
    HANDLE thread = nullptr;
    HANDLE opened = nullptr;
    HANDLE release = nullptr;
    bool succeeded = false;
};

Holder holder;

DWORD WINAPI holdClipboard(LPVOID) {
    HWND window = createOwnerWindow();
    holder.succeeded = OpenClipboard(window) != FALSE;
    SetEvent(holder.opened);
    WaitForSingleObject(holder.release, INFINITE);
    if (holder.succeeded) {
        CloseClipboard();
    }
    DestroyWindow(window);
    return 0;
}

void stopHolder() {
    if (holder.thread == nullptr) {
        return;
    }
    SetEvent(holder.release);
    WaitForSingleObject(holder.thread, INFINITE);
    CloseHandle(holder.thread);
    CloseHandle(holder.opened);
    CloseHandle(holder.release);
    holder = Holder{};
}

void startHolder() {
    holder.opened = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    holder.release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    holder.thread = CreateThread(nullptr, 0, holdClipboard, nullptr, 0, nullptr);
    WaitForSingleObject(holder.opened, INFINITE);
}

// Opening from another thread fails exactly while someone holds it open.
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

// CF_TEXT made of size bytes of text; the clipboard empty without text.
bool fillClipboard(const char* text, std::size_t size) {
    stopHolder();
    HWND window = createOwnerWindow();
    bool filled = false;
    if (OpenClipboard(window)) {
        EmptyClipboard();
        filled = text == nullptr;
        if (!filled) {
            HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, size);
            if (data != nullptr) {
                auto* bytes = static_cast<char*>(GlobalLock(data));
                CopyMemory(bytes, text, size);
                GlobalUnlock(data);
                filled = SetClipboardData(CF_TEXT, data) != nullptr;
                if (!filled) {
                    GlobalFree(data);
                }
            }
        }
        CloseClipboard();
    }
    DestroyWindow(window);
    return filled;
}

}  // namespace

bool setTestClipboard(MemoryClipboardState state, const std::string& text) {
    if (state == MemoryClipboardState::Unavailable) {
        stopHolder();
        startHolder();
        return holder.succeeded;
    }
    if (state == MemoryClipboardState::Empty) {
        return fillClipboard(nullptr, 0);
    }
    return fillClipboard(text.c_str(), text.size() + 1);
}

bool setTestClipboardBlock(const std::string& bytes) {
    return fillClipboard(bytes.data(), bytes.size());
}

void clearTestClipboard() {
    stopHolder();
    setTestClipboard(MemoryClipboardState::Empty);
}

bool testClipboardLeftOpen() {
    bool opened = false;
    HANDLE thread = CreateThread(nullptr, 0, probeClipboard, &opened, 0, nullptr);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    return !opened;
}

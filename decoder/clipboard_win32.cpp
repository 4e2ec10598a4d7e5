// The Windows clipboard as the decoding run reads it: CF_TEXT, locked while
// the run copies it out.

#include <windows.h>

#include "clipboard_source.h"

namespace {

HANDLE lockedData = nullptr;

}  // namespace

bool openClipboardText() {
    return OpenClipboard(nullptr) != FALSE;
}

const char* clipboardText() {
    HANDLE data = GetClipboardData(CF_TEXT);
    if (data == nullptr) {
        return nullptr;
    }
    auto* text = static_cast<const char*>(GlobalLock(data));
    if (text != nullptr) {
        lockedData = data;
    }
    return text;
}

void closeClipboardText() {
    if (lockedData != nullptr) {
        GlobalUnlock(lockedData);
        lockedData = nullptr;
    }
    CloseClipboard();
}

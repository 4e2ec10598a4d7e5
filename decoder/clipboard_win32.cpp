// The Windows clipboard as the decoding run reads it: CF_TEXT, locked while
// the run copies it out. Its size is the block's, which another program may
// have filled without a terminator.

#include <windows.h>

#include "clipboard_source.h"

namespace {

HANDLE lockedData = nullptr;

}  // namespace

bool openClipboardText() {
    return OpenClipboard(nullptr) != FALSE;
}

ClipboardBlock clipboardText() {
    HANDLE data = GetClipboardData(CF_TEXT);
    if (data == nullptr) {
        return {};
    }
    auto* bytes = static_cast<const char*>(GlobalLock(data));
    if (bytes == nullptr) {
        return {};
    }
    lockedData = data;
    return {bytes, GlobalSize(data)};
}

void closeClipboardText() {
    if (lockedData != nullptr) {
        GlobalUnlock(lockedData);
        lockedData = nullptr;
    }
    CloseClipboard();
}

// The Windows clipboard as the decoding run reads it: CF_TEXT, locked while
// the run copies it out. Its size is the block's, which another program may
// have filled without a terminator.
//
// A program whose code page is UTF-8 (by its manifest, from Windows 10 1903)
// reads the UTF-16 text instead: Windows makes CF_TEXT in the system's code
// page, whose bytes would not be the characters copied.

#include <windows.h>

#include <string>

#include "clipboard_source.h"

namespace {

HANDLE lockedData = nullptr;
std::string convertedText;  // the UTF-16 text in UTF-8, until the close

bool unicodeText(ClipboardBlock* block) {
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const auto* units = static_cast<const wchar_t*>(data == nullptr ? nullptr : GlobalLock(data));
    if (units == nullptr) {
        return false;
    }
    std::size_t count = 0;
    for (const std::size_t most = GlobalSize(data) / sizeof(wchar_t);
         count < most && units[count] != L'\0'; ++count) {
    }
    const int length = static_cast<int>(count);
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, units, length, nullptr, 0, nullptr, nullptr);
    convertedText.assign(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0) {
        WideCharToMultiByte(CP_UTF8, 0, units, length, &convertedText[0], bytes, nullptr, nullptr);
    }
    GlobalUnlock(data);
    *block = {convertedText.data(), convertedText.size()};
    return true;
}

}  // namespace

bool openClipboardText() {
    return OpenClipboard(nullptr) != FALSE;
}

ClipboardBlock clipboardText() {
    ClipboardBlock block;
    if (GetACP() == CP_UTF8 && unicodeText(&block)) {
        return block;
    }
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
    std::string().swap(convertedText);
    if (lockedData != nullptr) {
        GlobalUnlock(lockedData);
        lockedData = nullptr;
    }
    CloseClipboard();
}

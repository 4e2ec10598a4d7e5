// The Windows clipboard needs no fetching: the decoder opens it itself. Its
// sequence number tells a watch when to decode again.

#include <windows.h>

#include "desktop_clipboard.h"

namespace {

struct DesktopClipboard {
    bool taken = false;
    DWORD sequence = 0;
    bool opens = true;
};

DesktopClipboard clipboard;

// Another program holds the clipboard open only for a moment while it
// copies; a watch must not end for that.
constexpr int OpenAttempts = 10;
constexpr DWORD OpenRetryMilliseconds = 50;

bool clipboardOpens() {
    for (int attempt = 1;; ++attempt) {
        if (OpenClipboard(nullptr)) {
            CloseClipboard();
            return true;
        }
        if (attempt == OpenAttempts) {
            return false;
        }
        Sleep(OpenRetryMilliseconds);
    }
}

}  // namespace

bool takeDesktopClipboard() {
    const DWORD sequence = GetClipboardSequenceNumber();
    const bool changed = !clipboard.taken || sequence != clipboard.sequence;
    clipboard.taken = true;
    clipboard.sequence = sequence;
    clipboard.opens = clipboardOpens();
    return changed;
}

const char* desktopClipboardProblem() {
    return clipboard.opens ? nullptr : "another program holds it open";
}

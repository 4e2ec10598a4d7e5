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

}  // namespace

bool takeDesktopClipboard() {
    const DWORD sequence = GetClipboardSequenceNumber();
    const bool changed = !clipboard.taken || sequence != clipboard.sequence;
    clipboard.taken = true;
    clipboard.sequence = sequence;
    clipboard.opens = OpenClipboard(nullptr) != FALSE;
    if (clipboard.opens) {
        CloseClipboard();
    }
    return changed;
}

const char* desktopClipboardProblem() {
    return clipboard.opens ? nullptr : "another program holds it open";
}

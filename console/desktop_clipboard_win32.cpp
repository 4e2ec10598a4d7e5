// The Windows clipboard needs no fetching: the decoder opens it itself. Its
// sequence number tells a watch when to decode again.

#include <windows.h>

#include "desktop_clipboard.h"

bool takeDesktopClipboard() {
    static bool taken = false;
    static DWORD lastSequence = 0;
    const DWORD sequence = GetClipboardSequenceNumber();
    const bool changed = !taken || sequence != lastSequence;
    taken = true;
    lastSequence = sequence;
    return changed;
}

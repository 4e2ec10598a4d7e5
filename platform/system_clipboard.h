// Platform contact: the clipboard a decoding run reads (clipboard_source.h).
// On Windows this is the real clipboard (CF_TEXT, clipboard_win32.cpp); on
// other platforms it is a clipboard held in memory that a front end or a
// test fills (memory_clipboard.h).
#pragma once

#include "clipboard_source.h"

bool openClipboardText();
ClipboardBlock clipboardText();
void closeClipboardText();

class SystemClipboard : public ClipboardSource {
  public:
    bool open() override { return openClipboardText(); }
    ClipboardBlock text() override { return clipboardText(); }
    void close() override { closeClipboardText(); }
};

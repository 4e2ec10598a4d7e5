// Platform contact: the clipboard text as a decoding run reads it.
//
// The run calls openClipboardText, then clipboardText, then always
// closeClipboardText once the open succeeded. The block stays valid only
// until the close. On Windows this is the real clipboard (CF_TEXT); on
// other platforms it is a clipboard held in memory that a front end or a
// test fills (memory_clipboard.h).
#pragma once

#include <cstddef>

// The clipboard's text block as another program left it: the text ends at
// its first zero byte, or at the block's end when it holds none.
struct ClipboardBlock {
    const char* bytes = nullptr;  // null when the clipboard holds no text
    std::size_t size = 0;
};

// False when the clipboard cannot be opened.
bool openClipboardText();
ClipboardBlock clipboardText();
void closeClipboardText();

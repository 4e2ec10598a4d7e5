// Platform contact: the clipboard text as a decoding run reads it.
//
// The run calls openClipboardText, then clipboardText, then always
// closeClipboardText once the open succeeded. The text pointer stays valid
// only until the close. On Windows this is the real clipboard (CF_TEXT); on
// other platforms it is a clipboard held in memory that a front end or a
// test fills (memory_clipboard.h).
#pragma once

// False when the clipboard cannot be opened.
bool openClipboardText();
// The clipboard's text, zero-terminated, or null when it holds no text.
const char* clipboardText();
void closeClipboardText();

// The desktop clipboard as vexa-decode reaches it.
//
// On Windows the decoder reads the system clipboard (system_clipboard.h);
// here we only learn when it changes, from its sequence number. Elsewhere
// the text is fetched with the desktop's own tool -- wl-paste under Wayland
// (WAYLAND_DISPLAY), xclip or else xsel under X11 (DISPLAY) -- and put into
// the memory clipboard (memory_clipboard.h), so the decoder's own messages
// apply: no
// display, no tool, or a tool that fails to reach its display or does not
// answer within five seconds give "cannot open clipboard!"; a clipboard that
// holds nothing, or nothing as text, gives "no text data in clipboard
// available!".
#pragma once

// Makes the clipboard's current content the one the next decoding run reads.
// Returns true when it differs from what the previous call found, and always
// on the first call.
bool takeDesktopClipboard();

// Why the last take found no clipboard to read at all (no display, no tool,
// a tool that cannot reach its display; on Windows a clipboard held open by
// another program), or null when it found one.
const char* desktopClipboardProblem();

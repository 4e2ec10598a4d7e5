// The portable clipboard: what the system clipboard (system_clipboard.h)
// reads on platforms without one a program can reach itself. Console front
// ends put the desktop clipboard's text here; tests put whatever case they
// check.
#pragma once

#include <string>

enum class MemoryClipboardState { Unavailable, Empty, HasText };

void setMemoryClipboard(MemoryClipboardState state, const std::string& text = std::string());

// True between a successful openClipboardText and its closeClipboardText.
bool memoryClipboardIsOpen();

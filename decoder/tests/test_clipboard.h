// The clipboard the decoder reads, as tests fill it: the memory clipboard,
// or on Windows the real one (Unavailable = another thread holds it open).
#pragma once

#include <string>

#include "memory_clipboard.h"

// False when the real clipboard could not be filled.
bool setTestClipboard(MemoryClipboardState state, const std::string& text = std::string());
// A text block of exactly these bytes, with no terminator added.
bool setTestClipboardBlock(const std::string& bytes);
void clearTestClipboard();
// True when the decoder left the clipboard open.
bool testClipboardLeftOpen();

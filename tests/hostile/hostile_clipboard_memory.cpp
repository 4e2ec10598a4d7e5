// The clipboard of the hostile-input tests where the decoder reads the
// memory clipboard.

#include "hostile_support.h"
#include "memory_clipboard.h"

void putClipboardText(const std::string& text) {
    setMemoryClipboard(MemoryClipboardState::HasText, text);
}

bool clipboardLeftOpen() {
    return memoryClipboardIsOpen();
}

// The test clipboard where the decoder reads the memory clipboard.

#include "test_clipboard.h"

bool setTestClipboard(MemoryClipboardState state, const std::string& text) {
    setMemoryClipboard(state, text);
    return true;
}

void clearTestClipboard() {
    setMemoryClipboard(MemoryClipboardState::Unavailable);
}

bool testClipboardLeftOpen() {
    return memoryClipboardIsOpen();
}

// The test clipboard where the decoder reads the memory clipboard.

#include "test_clipboard.h"

bool setTestClipboard(MemoryClipboardState state, const std::string& text) {
    setMemoryClipboard(state, text);
    return true;
}

// The memory clipboard's block never has a terminator of its own.
bool setTestClipboardBlock(const std::string& bytes) {
    setMemoryClipboard(MemoryClipboardState::HasText, bytes);
    return true;
}

void clearTestClipboard() {
    setMemoryClipboard(MemoryClipboardState::Unavailable);
}

bool testClipboardLeftOpen() {
    return memoryClipboardIsOpen();
}

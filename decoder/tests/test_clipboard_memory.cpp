// The test clipboard where the decoder reads the memory clipboard.

#include "memory_clipboard.h"
#include "test_support.h"

void setTestClipboard(MemoryClipboardState state, const std::string& text) {
    setMemoryClipboard(state, text);
}

void clearTestClipboard() {
    setMemoryClipboard(MemoryClipboardState::Unavailable);
}

bool testClipboardLeftOpen() {
    return memoryClipboardIsOpen();
}

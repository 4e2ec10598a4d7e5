// The clipboard held in memory, for platforms where the decoder reaches no
// system clipboard.

#include "memory_clipboard.h"

#include "clipboard_source.h"

namespace {

struct MemoryClipboard {
    MemoryClipboardState state = MemoryClipboardState::Unavailable;
    std::string text;
    bool open = false;
};

MemoryClipboard clipboard;

}  // namespace

void setMemoryClipboard(MemoryClipboardState state, const std::string& text) {
    clipboard.state = state;
    clipboard.text = text;
}

bool memoryClipboardIsOpen() {
    return clipboard.open;
}

bool openClipboardText() {
    if (clipboard.state == MemoryClipboardState::Unavailable || clipboard.open) {
        return false;
    }
    clipboard.open = true;
    return true;
}

const char* clipboardText() {
    if (!clipboard.open || clipboard.state != MemoryClipboardState::HasText) {
        return nullptr;
    }
    return clipboard.text.c_str();
}

void closeClipboardText() {
    clipboard.open = false;
}

// The clipboard held in memory, for platforms where the decoder reaches no
// system clipboard. Its text lies in a block of exactly the text's size, as
// another program may leave it on a system clipboard: with no terminator.

#include "memory_clipboard.h"

#include <cstring>
#include <memory>

#include "system_clipboard.h"

namespace {

struct MemoryClipboard {
    MemoryClipboardState state = MemoryClipboardState::Unavailable;
    std::unique_ptr<char[]> block;
    std::size_t size = 0;
    bool open = false;
};

MemoryClipboard clipboard;

}  // namespace

void setMemoryClipboard(MemoryClipboardState state, const std::string& text) {
    clipboard.state = state;
    // Exactly the text's size; one byte for an empty text, so that it still
    // has an address.
    clipboard.block.reset(new char[text.empty() ? 1 : text.size()]);
    std::memcpy(clipboard.block.get(), text.data(), text.size());
    clipboard.size = text.size();
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

ClipboardBlock clipboardText() {
    if (!clipboard.open || clipboard.state != MemoryClipboardState::HasText) {
        return {};
    }
    return {clipboard.block.get(), clipboard.size};
}

void closeClipboardText() {
    clipboard.open = false;
}

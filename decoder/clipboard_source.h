// The clipboard text as a decoding run reads it, from a source its front
// end gives it (platform/system_clipboard.h, or a test's own).
//
// The run calls open, then text, then always close once the open
// succeeded. The block stays valid only until the close.
#pragma once

#include <cstddef>

// The clipboard's text block as another program left it: the text ends at
// its first zero byte, or at the block's end when it holds none.
struct ClipboardBlock {
    const char* bytes = nullptr;  // null when the clipboard holds no text
    std::size_t size = 0;
};

class ClipboardSource {
  public:
    virtual ~ClipboardSource() = default;

    // False when the clipboard cannot be opened.
    virtual bool open() = 0;
    virtual ClipboardBlock text() = 0;
    virtual void close() = 0;
};

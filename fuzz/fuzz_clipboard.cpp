// Fuzzes the decoding run over the clipboard. The first byte picks the
// clipboard's state (bits 0-1: unavailable, empty, text, text) and the line
// prefix (bits 2-3); the remaining bytes are the clipboard text.
//
// The early failures must leave exactly their one message. A text whose
// first marker opens it, with short lines and no byte the file source treats
// specially, must decode exactly as the same bytes read as a log file.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "catalogue.h"
#include "decoding_run.h"
#include "file_bytes.h"
#include "memory_clipboard.h"
#include "output_checks.h"
#include "system_clipboard.h"

namespace {

// Longest line that still arrives as one chunk from a file, with room to spare.
constexpr std::size_t ShortLine = 400;

std::vector<std::string> onlyLine(const char* message) {
    return {message};
}

// The clipboard source decodes from the first spaced marker, or else the
// first unspaced one; npos when there is neither.
std::size_t copyStart(const std::string& text) {
    const std::size_t spaced = text.find(SpacedMarker);
    return spaced != std::string::npos ? spaced : text.find(UnspacedMarker);
}

// True when a log file holding text decodes to the same lines: the copy
// starts at its first byte, no line is cut into chunks, and no 0x1A ends a
// file early.
bool decodesLikeALog(const std::string& text) {
    if (copyStart(text) != 0 || text.find('\x1a') != std::string::npos) {
        return false;
    }
    std::size_t lineStart = 0;
    while (lineStart < text.size()) {
        std::size_t lineEnd = text.find('\n', lineStart);
        if (lineEnd == std::string::npos) {
            lineEnd = text.size();
        }
        if (lineEnd - lineStart > ShortLine) {
            return false;
        }
        lineStart = lineEnd + 1;
    }
    return true;
}

std::vector<std::string> decodeAsLog(const std::string& text, const char* prefix) {
    MemoryLog log(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    CheckedText writer(prefix);
    decodeFile(log.stream(), RunSettings(), writer);
    return linesOf(writer.text, prefix);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const unsigned selector = data[0];
    const char* prefix = fuzzPrefix(selector >> 2);
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

    MemoryClipboardState state = MemoryClipboardState::HasText;
    if ((selector & 3) == 0) {
        state = MemoryClipboardState::Unavailable;
    } else if ((selector & 3) == 1) {
        state = MemoryClipboardState::Empty;
    }
    setMemoryClipboard(state, bytes);

    CheckedText writer(prefix);
    SystemClipboard clipboard;
    const bool unread = decodeClipboard(clipboard, RunSettings(), writer).clipboardUnread;
    const std::vector<std::string> lines = linesOf(writer.text, prefix);
    require(!memoryClipboardIsOpen(), "the clipboard is closed after the run");

    // The clipboard's text ends at its first NUL, as a C string does.
    const std::string text(bytes.c_str());
    if (state == MemoryClipboardState::Unavailable) {
        require(unread && lines == onlyLine("cannot open clipboard!"), "unavailable clipboard");
    } else if (state == MemoryClipboardState::Empty) {
        require(unread && lines == onlyLine("no text data in clipboard available!"),
                "clipboard without text");
    } else if (copyStart(text) == std::string::npos) {
        require(unread && lines == onlyLine("no statistics data in clipboard available!"),
                "clipboard text without a marker");
    } else {
        require(!unread, "a clipboard run that scanned read the clipboard");
        checkScanOutput(lines);
        if (decodesLikeALog(text)) {
            require(decodeAsLog(text, prefix) == lines, "clipboard and log decode alike");
        }
    }
    return 0;
}

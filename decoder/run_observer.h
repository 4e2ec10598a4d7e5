// What the scan and the composition of a decoding run tell its observer (the
// report collector, report_collector.h) as they go.
//
// A run that has an observer appends exactly the text it would append
// without one; the observer only hears about it. A run that only fills the
// message buffer has none. Texts handed to an observer are valid only during
// the call.
#pragma once

#include <cstdint>
#include <string_view>

#include "message_buffer.h"

class RunObserver {
  public:
    virtual ~RunObserver() = default;

    // A message line has just been appended (without prefix and CR LF).
    virtual void messageAppended(const char* text) = 0;
    // An input line that begins with a marker; inputLine points into the
    // chunk being scanned, at the marker.
    virtual void blockMet(const char* inputLine) = 0;
    // A key=value token was handed to the value rendering: keyText is the
    // token's text before the "=", valueText the value text after it.
    virtual void valueRendered(int entry, int column, std::uint32_t key, std::string_view keyText,
                               const char* valueText) = 0;
    // A token whose key the catalogue does not know, passed over whole.
    virtual void keyUnrecognized(const char* token) = 0;
    // The token beginning at tokenStart, inside the input line blockMet
    // last named, lacks its "=" or value: the rest of that line is dropped.
    virtual void formatBroken(const char* tokenStart) = 0;
};

// Appends a message line and tells the observer, if there is one.
inline void appendMessage(const char* text, RunObserver* observer) {
    appendLine(text);
    if (observer != nullptr) {
        observer->messageAppended(text);
    }
}

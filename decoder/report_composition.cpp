// Report composition: turns the value slot table into aligned report lines.

#include "report_composition.h"

#include <cstring>
#include <string>

#include "message_buffer.h"

namespace {

// Appends "label" padded to the label width, then ": ".
void appendLabel(std::string& line, const char* label) {
    line += label != nullptr ? label : "";
    const auto width = static_cast<std::size_t>(reportLabelWidth());
    if (line.size() < width) {
        line.append(width - line.size(), ' ');
    }
    line += ": ";
}

std::string reportLine(const ValueSlotTable& slots, int entry) {
    const KeyEntry& catalogueEntry = KeyCatalogue[entry];
    std::string line;
    appendLabel(line, catalogueEntry.label);
    line += reportValues(slots.text[entry][0],
                         catalogueEntry.key2 == KeyNone ? nullptr : slots.text[entry][1]);
    return line;
}

}  // namespace

std::string reportValues(const char* first, const char* second) {
    std::string values = first;
    if (second == nullptr) {
        return values;
    }
    // Values that hold a "/" themselves get spaces around the separator so
    // the two stay apart; the label's own "/" does not count.
    const bool spaced = std::strchr(first, '/') != nullptr || std::strchr(second, '/') != nullptr;
    values += spaced ? " / " : "/";
    values += second;
    return values;
}

int reportLabelWidth() {
    static const int width = [] {
        std::size_t longest = 0;
        for (const KeyEntry& entry : KeyCatalogue) {
            if (entry.label != nullptr && std::strlen(entry.label) > longest) {
                longest = std::strlen(entry.label);
            }
        }
        return static_cast<int>(longest);
    }();
    return width;
}

void composeReport(const ValueSlotTable& slots, bool blockSeen, RunObserver* observer) {
    for (int entry = 0; entry < KeyEntryCount; ++entry) {
        if (slotIsEmpty(slots, entry, 0) && slotIsEmpty(slots, entry, 1)) {
            continue;
        }
        appendLine(reportLine(slots, entry).c_str());
    }
    if (!blockSeen) {
        appendMessage("no recognizable data found!", observer);
    }
}

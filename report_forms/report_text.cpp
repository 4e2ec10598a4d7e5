// Report lines as text: aligned labels, and values around "/".

#include "report_text.h"

#include <algorithm>
#include <cstring>

#include "catalogue.h"

namespace {

const std::string NotAvailable = NotAvailableMarker;

}  // namespace

std::string reportLineValues(const ReportLine& line) {
    const std::string& first = line.values[0] ? *line.values[0] : NotAvailable;
    if (line.valueCount == 1) {
        return first;
    }
    const std::string& second = line.values[1] ? *line.values[1] : NotAvailable;
    // Values that hold a "/" themselves get spaces around the separator so
    // the two stay apart; the label's own "/" does not count.
    const bool spaced =
        first.find('/') != std::string::npos || second.find('/') != std::string::npos;
    return first + (spaced ? " / " : "/") + second;
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

std::string reportLineText(const ReportLine& line) {
    std::string text = line.label != nullptr ? line.label : "";
    const auto width = static_cast<std::size_t>(reportLabelWidth());
    if (text.size() < width) {
        text.append(width - text.size(), ' ');
    }
    text += ": ";
    text += reportLineValues(line);
    return text;
}

// Most lines are short: put together here first, they cost the text one
// append, and a run may write a million of them.
void appendTextLine(const LineStyle& style, std::string_view text, std::string& out) {
    char line[256];
    const std::size_t length = style.prefix.size() + text.size() + style.end.size();
    if (length > sizeof line) {
        out.append(style.prefix).append(text.data(), text.size()).append(style.end);
        return;
    }
    char* end = std::copy(style.prefix.begin(), style.prefix.end(), line);
    end = std::copy(text.begin(), text.end(), end);
    std::copy(style.end.begin(), style.end.end(), end);
    out.append(line, length);
}

namespace {

// Every catalogue label padded to the common width, with its ": ": a line
// copies one piece of known length where it padded and joined three.
struct PaddedLabels {
    std::string of[KeyEntryCount];
    PaddedLabels() {
        const auto width = static_cast<std::size_t>(reportLabelWidth());
        for (int entry = 0; entry < KeyEntryCount; ++entry) {
            std::string& text = of[entry];
            text = KeyCatalogue[entry].label != nullptr ? KeyCatalogue[entry].label : "";
            if (text.size() < width) {
                text.append(width - text.size(), ' ');
            }
            text += ": ";
        }
    }
};

// Values are a few characters long, shorter than memchr is worth calling for.
bool holdsSlash(const std::string& value) {
    for (const char c : value) {
        if (c == '/') {
            return true;
        }
    }
    return false;
}

}  // namespace

void appendReportLine(const LineStyle& style, const ReportLine& line, std::string& out) {
    static const std::string notAvailable = NotAvailableMarker;
    static const PaddedLabels paddedLabels;
    const std::string& first = line.values[0] ? *line.values[0] : notAvailable;
    const std::string& second = line.values[1] ? *line.values[1] : notAvailable;
    std::string paddedLabel;
    std::string_view head;
    if (line.entry >= 0 && line.entry < KeyEntryCount &&
        line.label == KeyCatalogue[line.entry].label && line.label != nullptr) {
        head = paddedLabels.of[line.entry];
    } else {
        paddedLabel = line.label != nullptr ? line.label : "";
        const auto width = static_cast<std::size_t>(reportLabelWidth());
        if (paddedLabel.size() < width) {
            paddedLabel.append(width - paddedLabel.size(), ' ');
        }
        paddedLabel += ": ";
        head = paddedLabel;
    }
    std::string_view between = "";
    if (line.valueCount == 2) {
        between = holdsSlash(first) || holdsSlash(second) ? " / " : "/";
    }
    const std::string_view last = line.valueCount == 2 ? std::string_view(second) : "";
    // Put together on the stack and appended once, as appendTextLine does.
    char text[256];
    const std::size_t length = style.prefix.size() + head.size() + first.size() + between.size() +
                               last.size() + style.end.size();
    if (length > sizeof text) {
        out.append(style.prefix).append(head.data(), head.size());
        out.append(first).append(between.data(), between.size());
        out.append(last.data(), last.size()).append(style.end);
        return;
    }
    char* end = text;
    std::memcpy(end, style.prefix.data(), style.prefix.size());
    end += style.prefix.size();
    std::memcpy(end, head.data(), head.size());
    end += head.size();
    std::memcpy(end, first.data(), first.size());
    end += first.size();
    std::memcpy(end, between.data(), between.size());
    end += between.size();
    std::memcpy(end, last.data(), last.size());
    end += last.size();
    std::memcpy(end, style.end.data(), style.end.size());
    out.append(text, length);
}

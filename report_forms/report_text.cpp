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

void appendReportLine(const LineStyle& style, const ReportLine& line, std::string& out) {
    static const std::string notAvailable = NotAvailableMarker;
    const std::string& first = line.values[0] ? *line.values[0] : notAvailable;
    const std::string& second = line.values[1] ? *line.values[1] : notAvailable;
    const std::string_view label = line.label != nullptr ? line.label : "";
    const auto width = static_cast<std::size_t>(reportLabelWidth());
    const std::size_t padding = label.size() < width ? width - label.size() : 0;
    std::string_view between;
    if (line.valueCount == 2) {
        const bool spaced =
            first.find('/') != std::string::npos || second.find('/') != std::string::npos;
        between = spaced ? " / " : "/";
    }
    const std::string_view last = line.valueCount == 2 ? std::string_view(second) : "";
    // Put together on the stack and appended once, as appendTextLine does.
    char text[256];
    const std::size_t length = style.prefix.size() + label.size() + padding + 2 + first.size() +
                               between.size() + last.size() + style.end.size();
    if (length > sizeof text) {
        out.append(style.prefix).append(label).append(padding, ' ').append(": ");
        out.append(first).append(between).append(last).append(style.end);
        return;
    }
    char* end = std::copy(style.prefix.begin(), style.prefix.end(), text);
    end = std::copy(label.begin(), label.end(), end);
    end = std::fill_n(end, padding, ' ');
    *end++ = ':';
    *end++ = ' ';
    end = std::copy(first.begin(), first.end(), end);
    end = std::copy(between.begin(), between.end(), end);
    end = std::copy(last.begin(), last.end(), end);
    std::copy(style.end.begin(), style.end.end(), end);
    out.append(text, length);
}

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

// The pieces of a report line between the style's prefix and end.
struct LinePieces {
    std::string_view head;  // the padded label and ": "
    std::string_view first;
    std::string_view between;
    std::string_view last;
    std::size_t size() const { return head.size() + first.size() + between.size() + last.size(); }
};

const std::string NotAvailableText = NotAvailableMarker;

// Lines of catalogue entries (all but hand-made ones) take their padded
// label from the table; any other is padded into `label`.
LinePieces linePieces(const ReportLine& line, std::string& label) {
    static const PaddedLabels paddedLabels;
    LinePieces pieces;
    const std::string& first = line.values[0] ? *line.values[0] : NotAvailableText;
    const std::string& second = line.values[1] ? *line.values[1] : NotAvailableText;
    if (line.entry >= 0 && line.entry < KeyEntryCount && line.label != nullptr &&
        line.label == KeyCatalogue[line.entry].label) {
        pieces.head = paddedLabels.of[line.entry];
    } else {
        label = line.label != nullptr ? line.label : "";
        const auto width = static_cast<std::size_t>(reportLabelWidth());
        if (label.size() < width) {
            label.append(width - label.size(), ' ');
        }
        label += ": ";
        pieces.head = label;
    }
    pieces.first = first;
    if (line.valueCount == 2) {
        pieces.between = holdsSlash(first) || holdsSlash(second) ? " / " : "/";
        pieces.last = second;
    }
    return pieces;
}

char* put(char* at, std::string_view piece) {
    if (!piece.empty()) {
        std::memcpy(at, piece.data(), piece.size());
    }
    return at + piece.size();
}

}  // namespace

std::size_t reportLineRoom(const LineStyle& style, const ReportLine& line) {
    const std::size_t width = static_cast<std::size_t>(reportLabelWidth()) + 2;
    const bool catalogued = line.entry >= 0 && line.entry < KeyEntryCount &&
                            line.label == KeyCatalogue[line.entry].label;
    const std::size_t label = catalogued || line.label == nullptr ? 2 : std::strlen(line.label) + 2;
    std::size_t values = line.values[0] ? line.values[0]->size() : NotAvailableText.size();
    if (line.valueCount == 2) {
        values += 3 + (line.values[1] ? line.values[1]->size() : NotAvailableText.size());
    }
    return style.prefix.size() + std::max(width, label) + values + style.end.size();
}

char* writeReportLine(const LineStyle& style, const ReportLine& line, char* at) {
    std::string label;
    const LinePieces pieces = linePieces(line, label);
    at = put(at, style.prefix);
    at = put(at, pieces.head);
    at = put(at, pieces.first);
    at = put(at, pieces.between);
    at = put(at, pieces.last);
    return put(at, style.end);
}

void appendReportLine(const LineStyle& style, const ReportLine& line, std::string& out) {
    const std::size_t at = out.size();
    out.resize(at + reportLineRoom(style, line));
    out.resize(static_cast<std::size_t>(writeReportLine(style, line, &out[at]) - &out[0]));
}

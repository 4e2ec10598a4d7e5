// Report lines as text: aligned labels, and values around "/".

#include "report_text.h"

#include <algorithm>
#include <cstring>

#include "byte_writing.h"
#include "code_texts.h"
#include "line_catalogue.h"

namespace {

// Every catalogue label padded to the common width, with its ": ": a line
// copies one piece of known length where it padded and joined three.
struct PaddedLabels {
    std::string of[LineCount];
    std::size_t width = static_cast<std::size_t>(labelWidth()) + 2;  // with ": "
    PaddedLabels() {
        for (int entry = 0; entry < LineCount; ++entry) {
            of[entry] = padded(lineLabel(entry));
        }
    }
    static std::string padded(const char* label) {
        std::string text = label != nullptr ? label : "";
        const auto width = static_cast<std::size_t>(labelWidth());
        if (text.size() < width) {
            text.append(width - text.size(), ' ');
        }
        return text + ": ";
    }
};

// Values are a few characters long, shorter than memchr is worth calling for.
bool holdsSlash(std::string_view value) {
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
    ValuePieces values;
};

// Measured once: a CSV row asks for it of every line that lacks a value.
const std::string_view NotAvailableText = NotAvailableMarker;

// Made at start-up: a line asks for it twice, and a run writes a million.
const PaddedLabels paddedLabels;

// Lines of catalogue entries (all but hand-made ones) take their padded
// label from the table; any other is padded into `label`.
inline LinePieces linePieces(const ReportLine& line, std::string& label) {
    LinePieces pieces;
    pieces.values = reportLineValues(line);
    if (hasOwnLabel(line)) {
        pieces.head = paddedLabels.of[line.entry];
    } else {
        label = PaddedLabels::padded(line.label);
        pieces.head = label;
    }
    return pieces;
}

}  // namespace

ValuePieces reportLineValues(const ReportLine& line) {
    ValuePieces pieces;
    pieces.first = line.values[0] ? std::string_view(*line.values[0]) : NotAvailableText;
    if (line.valueCount == 2) {
        pieces.last = line.values[1] ? std::string_view(*line.values[1]) : NotAvailableText;
        pieces.between = holdsSlash(pieces.first) || holdsSlash(pieces.last) ? " / " : "/";
    }
    return pieces;
}

std::string reportLineText(const ReportLine& line) {
    static const LineStyle bare{"", ""};
    std::string text;
    appendReportLine(bare, line, text);
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

std::size_t reportLineRoom(const LineStyle& style, const ReportLine& line) {
    const std::size_t width = paddedLabels.width;
    const std::size_t label =
        hasOwnLabel(line) || line.label == nullptr ? 2 : std::strlen(line.label) + 2;
    std::size_t values = line.values[0] ? line.values[0]->size() : NotAvailableText.size();
    if (line.valueCount == 2) {
        values += 3 + (line.values[1] ? line.values[1]->size() : NotAvailableText.size());
    }
    return style.prefix.size() + std::max(width, label) + values + style.end.size();
}

char* writeReportLine(const LineStyle& style, const ReportLine& line, char* at) {
    std::string label;
    const LinePieces pieces = linePieces(line, label);
    at = putBytes(at, style.prefix);
    at = putBytes(at, pieces.head);
    at = putBytes(at, pieces.values.first);
    at = putBytes(at, pieces.values.between);
    at = putBytes(at, pieces.values.last);
    return putBytes(at, style.end);
}

void appendReportLine(const LineStyle& style, const ReportLine& line, std::string& out) {
    const std::size_t at = out.size();
    out.resize(at + reportLineRoom(style, line));
    out.resize(static_cast<std::size_t>(writeReportLine(style, line, &out[at]) - &out[0]));
}

// Building CSV rows from decoded reports.

#include "csv_report.h"

#include <cstdint>
#include <cstring>

#include "code_texts.h"
#include "line_catalogue.h"

namespace {

bool needsQuotes(const char* text, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        const char c = text[i];
        if (c == ',' || c == '"' || c == '\r' || c == '\n') {
            return true;
        }
    }
    return false;
}

// The field's bytes as CSV, at to; returns their end. Quoting at most
// doubles a field and adds two.
char* writeQuoted(std::string_view text, char* to) {
    *to++ = '"';
    for (const char c : text) {
        *to++ = c;
        if (c == '"') {
            *to++ = '"';
        }
    }
    *to++ = '"';
    return to;
}

char* put(char* to, std::string_view piece) {
    if (!piece.empty()) {
        std::memcpy(to, piece.data(), piece.size());
    }
    return to + piece.size();
}

char* writeField(std::string_view text, char* to) {
    return needsQuotes(text.data(), text.size()) ? writeQuoted(text, to) : put(to, text);
}

char* writeNumber(std::size_t n, char* to) {
    char digits[24];
    std::size_t at = sizeof digits;
    do {
        digits[--at] = static_cast<char>('0' + n % 10);
        n /= 10;
    } while (n != 0);
    return put(to, std::string_view(digits + at, sizeof digits - at));
}

// As captures write keys: hex, upper case.
char* writeKeyName(std::uint16_t key, char* to) {
    static const char Digits[] = "0123456789ABCDEF";
    char digits[4];
    std::size_t at = sizeof digits;
    do {
        digits[--at] = Digits[key % 16];
        key = static_cast<std::uint16_t>(key / 16);
    } while (key != 0);
    return put(to, std::string_view(digits + at, sizeof digits - at));
}

// The entries that have a column, in catalogue order.
struct Columns {
    int entry[LineCount];
    int count = 0;
    Columns() : entry() {
        for (int at = 0; at < LineCount; ++at) {
            if (lineLabel(at) != nullptr) {
                entry[count++] = at;
            }
        }
    }
};

const Columns columns;

// A line's values as the text shows them: one that did not arrive as "NA",
// the two of a pair around "/", or " / " when either holds a "/" itself.
struct ValuePieces {
    std::string_view first;
    std::string_view between;
    std::string_view last;

    std::size_t size() const { return first.size() + between.size() + last.size(); }
};

bool holdsSlash(std::string_view value) {
    for (const char c : value) {
        if (c == '/') {
            return true;
        }
    }
    return false;
}

// Measured once: a row asks for it of every line that lacks a value.
const std::string_view notAvailable = NotAvailableMarker;

ValuePieces valuePieces(const ReportLine& line) {
    ValuePieces pieces;
    pieces.first = line.values[0] ? std::string_view(*line.values[0]) : notAvailable;
    if (line.valueCount == 2) {
        pieces.last = line.values[1] ? std::string_view(*line.values[1]) : notAvailable;
        pieces.between = holdsSlash(pieces.first) || holdsSlash(pieces.last) ? " / " : "/";
    }
    return pieces;
}

// Line noise is no reading: a spreadsheet must not sum it.
bool isNoise(const ReportLine& line) {
    return line.malformed[0] || line.malformed[1];
}

}  // namespace

std::string csvHeader(const std::string& lineEnd) {
    std::string header = "file,report,line";
    for (int at = 0; at < columns.count; ++at) {
        const std::string_view label = lineLabel(columns.entry[at]);
        std::string field(2 * label.size() + 2, ' ');
        field.resize(static_cast<std::size_t>(writeField(label, &field[0]) - &field[0]));
        header.append(",").append(field);
    }
    return header + ",complete,messages,malformed" + lineEnd;
}

void appendCsvRow(const DecodedReport& report, std::string_view source, std::string_view messages,
                  std::string_view lineEnd, std::string& out) {
    // Each line in its column, found in one pass; the first of an entry
    // counts, should a report hold two.
    const ReportLine* lineOf[LineCount] = {};
    // Room for every field quoted with every byte doubled, the separators,
    // the numbers and the malformed keys (four digits and a space each).
    std::size_t room = 2 * (source.size() + messages.size()) + lineEnd.size() + 64;
    for (const ReportLine& line : report.lines) {
        if (line.entry >= 0 && line.entry < LineCount && lineOf[line.entry] == nullptr) {
            lineOf[line.entry] = &line;
            room += 2 * valuePieces(line).size() + 3 + 10;
        }
    }
    room += 3 * static_cast<std::size_t>(columns.count);
    const std::size_t start = out.size();
    out.resize(start + room);
    char* to = &out[start];
    to = writeField(source, to);
    *to++ = ',';
    to = writeNumber(static_cast<std::size_t>(report.number), to);
    *to++ = ',';
    if (report.line > 0) {
        to = writeNumber(report.line, to);
    }
    bool anyNoise = false;
    for (int at = 0; at < columns.count; ++at) {
        *to++ = ',';
        const ReportLine* line = lineOf[columns.entry[at]];
        if (line == nullptr) {
            continue;
        }
        if (isNoise(*line)) {
            anyNoise = true;
            continue;
        }
        const ValuePieces pieces = valuePieces(*line);
        char* const field = to;
        to = put(to, pieces.first);
        to = put(to, pieces.between);
        to = put(to, pieces.last);
        if (needsQuotes(field, static_cast<std::size_t>(to - field))) {
            const std::string text(field, to);
            to = writeQuoted(text, field);
        }
    }
    to = put(to, report.complete() ? ",true," : ",false,");
    to = writeField(messages, to);
    *to++ = ',';
    if (anyNoise) {
        const char* separator = "";
        for (int at = 0; at < columns.count; ++at) {
            const int entry = columns.entry[at];
            const ReportLine* line = lineOf[entry];
            if (line == nullptr || !isNoise(*line)) {
                continue;
            }
            for (int column = 0; column < 2; ++column) {
                if (line->malformed[column]) {
                    to = put(to, separator);
                    to = writeKeyName(lineKey(entry, column), to);
                    separator = " ";
                }
            }
        }
    }
    to = put(to, lineEnd);
    out.resize(static_cast<std::size_t>(to - &out[0]));
}

std::string csvRow(const DecodedReport& report, const std::string& source,
                   const std::string& lineEnd) {
    std::string row;
    appendCsvRow(report, source, "", lineEnd, row);
    return row;
}

std::string csvRow(const DecodedReport& report, const std::string& source,
                   const std::vector<std::string>& messages, const std::string& lineEnd) {
    std::string joined;
    for (const std::string& message : messages) {
        joined.append(joined.empty() ? "" : "\n").append(message);
    }
    std::string row;
    appendCsvRow(report, source, joined, lineEnd, row);
    return row;
}

// Building CSV rows from decoded reports.

#include "csv_report.h"

#include "byte_writing.h"
#include "line_catalogue.h"
#include "report_text.h"

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

char* writeField(std::string_view text, char* to) {
    return needsQuotes(text.data(), text.size()) ? writeQuoted(text, to) : putBytes(to, text);
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
            room += 2 * reportLineValues(line).size() + 3 + 10;
        }
    }
    room += 3 * static_cast<std::size_t>(columns.count);
    const std::size_t start = out.size();
    out.resize(start + room);
    char* to = &out[start];
    to = writeField(source, to);
    *to++ = ',';
    to = putDigits(to, static_cast<std::size_t>(report.number));
    *to++ = ',';
    if (report.line > 0) {
        to = putDigits(to, report.line);
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
        const ValuePieces pieces = reportLineValues(*line);
        char* const field = to;
        to = putBytes(to, pieces.first);
        to = putBytes(to, pieces.between);
        to = putBytes(to, pieces.last);
        if (needsQuotes(field, static_cast<std::size_t>(to - field))) {
            const std::string text(field, to);
            to = writeQuoted(text, field);
        }
    }
    to = putBytes(to, report.complete() ? ",true," : ",false,");
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
                    to = putBytes(to, separator);
                    to = putDigits(to, lineKey(entry, column), 16);  // as captures write keys
                    separator = " ";
                }
            }
        }
    }
    to = putBytes(to, lineEnd);
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

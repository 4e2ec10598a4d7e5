// Building CSV rows from decoded reports.

#include "csv_report.h"

#include <cstdint>
#include <vector>

#include "line_catalogue.h"
#include "report_text.h"

namespace {

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string field = "\"";
    for (const char c : text) {
        field += c;
        if (c == '"') {
            field += '"';
        }
    }
    return field + "\"";
}

std::string csvLine(const std::vector<std::string>& fields, const std::string& lineEnd) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        line += (i > 0 ? "," : "") + csvField(fields[i]);
    }
    return line + lineEnd;
}

const ReportLine* lineOf(const DecodedReport& report, int entry) {
    for (const ReportLine& line : report.lines) {
        if (line.entry == entry) {
            return &line;
        }
    }
    return nullptr;
}

// As captures write keys: hex, upper case.
std::string keyName(std::uint16_t key) {
    static const char Digits[] = "0123456789ABCDEF";
    std::string name;
    do {
        name.insert(name.begin(), Digits[key % 16]);
        key = static_cast<std::uint16_t>(key / 16);
    } while (key != 0);
    return name;
}

}  // namespace

std::string csvHeader(const std::string& lineEnd) {
    std::vector<std::string> fields = {"file", "report", "line"};
    for (int entry = 0; entry < LineCount; ++entry) {
        if (lineLabel(entry) != nullptr) {
            fields.emplace_back(lineLabel(entry));
        }
    }
    fields.emplace_back("complete");
    fields.emplace_back("messages");
    fields.emplace_back("malformed");
    return csvLine(fields, lineEnd);
}

std::string csvRow(const DecodedReport& report, const std::string& source,
                   const std::string& lineEnd) {
    return csvRow(report, source, std::vector<std::string>(), lineEnd);
}

std::string csvRow(const DecodedReport& report, const std::string& source,
                   const std::vector<std::string>& messages, const std::string& lineEnd) {
    std::vector<std::string> fields = {source, std::to_string(report.number),
                                       report.line > 0 ? std::to_string(report.line) : ""};
    std::string malformed;
    for (int entry = 0; entry < LineCount; ++entry) {
        if (lineLabel(entry) == nullptr) {
            continue;
        }
        const ReportLine* line = lineOf(report, entry);
        if (line != nullptr && (line->malformed[0] || line->malformed[1])) {
            // Line noise is no reading: a spreadsheet must not sum it.
            fields.emplace_back();
            for (int column = 0; column < 2; ++column) {
                if (line->malformed[column]) {
                    malformed += (malformed.empty() ? "" : " ") + keyName(lineKey(entry, column));
                }
            }
            continue;
        }
        fields.push_back(line != nullptr ? reportLineValues(*line) : "");
    }
    fields.emplace_back(report.complete() ? "true" : "false");
    std::string joined;
    for (const std::string& message : messages) {
        joined += (joined.empty() ? "" : "\n") + message;
    }
    fields.push_back(joined);
    fields.push_back(malformed);
    return csvLine(fields, lineEnd);
}

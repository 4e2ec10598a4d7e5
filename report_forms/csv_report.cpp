// Building CSV rows from decoded reports.

#include "csv_report.h"

#include <vector>

#include "catalogue.h"
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

}  // namespace

std::string csvHeader(const std::string& lineEnd) {
    std::vector<std::string> fields = {"file", "report", "line"};
    for (const KeyEntry& entry : KeyCatalogue) {
        if (entry.label != nullptr) {
            fields.emplace_back(entry.label);
        }
    }
    fields.emplace_back("complete");
    fields.emplace_back("messages");
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
    for (int entry = 0; entry < KeyEntryCount; ++entry) {
        if (KeyCatalogue[entry].label != nullptr) {
            const ReportLine* line = lineOf(report, entry);
            fields.push_back(line != nullptr ? reportLineValues(*line) : "");
        }
    }
    fields.emplace_back(report.complete ? "true" : "false");
    std::string joined;
    for (const std::string& message : messages) {
        joined += (joined.empty() ? "" : "\n") + message;
    }
    fields.push_back(joined);
    return csvLine(fields, lineEnd);
}

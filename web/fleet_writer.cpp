// The page's fleet writer and the columns of its table of reports.

#include "fleet_writer.h"

#include "json_report.h"
#include "line_catalogue.h"

namespace {

// The values the table shows, by the key that fills each.
struct TableColumn {
    const char* title;
    std::uint16_t key;
};

const TableColumn TableColumns[] = {
    {"Call setup", 0x01}, {"Termination cause", 0x60}, {"Negotiation, TX", 0x20},
    {"RX rate", 0x35},    {"TX rate", 0x34},           {"Noise, -dBm", 0x12},
    {"Retrains", 0x32},   {"RX I-frame errors", 0x59},
};

}  // namespace

void FleetWriter::message(std::string_view) {
    ++messages_;
    summary_.message();
}

void FleetWriter::report(const DecodedReport& report) {
    const int messages = messages_;
    messages_ = 0;
    summary_.report(report);
    if (report.readFailed || report.line == 0) {
        return;
    }
    nlohmann::ordered_json row = nlohmann::ordered_json::array();
    row.push_back(report.number);
    row.push_back(report.line);
    row.push_back(report.complete());
    row.push_back(messages);
    for (const TableColumn& column : TableColumns) {
        const LineColumn at = lineOfKey(column.key);
        nlohmann::ordered_json value = nullptr;
        for (const ReportLine& line : report.lines) {
            if (line.entry == at.entry) {
                const std::optional<std::string>& shown = line.values[at.column];
                value = shown ? latin1ToUtf8(*shown) : "NA";
            }
        }
        row.push_back(value);
    }
    rows_.push_back(row);
}

nlohmann::ordered_json fleetTableColumns() {
    nlohmann::ordered_json columns = nlohmann::ordered_json::array();
    for (const TableColumn& column : TableColumns) {
        const LineColumn at = lineOfKey(column.key);
        const std::string name = summaryColumnName(at.entry, at.column);
        nlohmann::ordered_json described = nlohmann::ordered_json::object();
        described["title"] = column.title;
        described["label"] = lineLabel(at.entry);
        described["column"] =
            name.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(name);
        described["numeric"] = summaryShape(at.entry) == SummaryShape::Numbers;
        columns.push_back(std::move(described));
    }
    return columns;
}

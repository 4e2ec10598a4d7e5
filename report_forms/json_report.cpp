// Building the JSON document of one decoded report.

#include "json_report.h"

namespace {

using Json = nlohmann::ordered_json;

Json text(std::string_view bytes) {
    return latin1ToUtf8(bytes);
}

// Flags stand only where they are true, so the common token stays short.
Json rawToken(const std::optional<ReportToken>& token) {
    if (!token) {
        return nullptr;
    }
    Json raw = {{"key", text(token->key)}, {"value", text(token->value.value_or(""))}};
    if (token->malformed) {
        raw["malformed"] = true;
    }
    return raw;
}

Json blockToken(const ReportToken& token) {
    Json read = {{"key", text(token.key)}, {"value", token.value ? text(*token.value) : nullptr}};
    if (token.unknown) {
        read["unknown"] = true;
    }
    if (token.malformed) {
        read["malformed"] = true;
    }
    return read;
}

Json block(const ReportBlock& block) {
    Json tokens = Json::array();
    for (const ReportToken& token : block.tokens) {
        tokens.push_back(blockToken(token));
    }
    return Json{{"line", block.line},
                {"tokens", tokens},
                {"unparsed", block.unparsed ? text(*block.unparsed) : nullptr}};
}

Json reportLine(const ReportLine& line) {
    Json values = Json::array();
    Json raw = Json::array();
    for (int column = 0; column < line.valueCount; ++column) {
        values.push_back(line.values[column] ? text(*line.values[column]) : Json(nullptr));
        raw.push_back(rawToken(line.raw[column]));
    }
    return Json{{"label", text(line.label)}, {"values", values}, {"raw", raw}};
}

}  // namespace

std::string latin1ToUtf8(std::string_view bytes) {
    std::string utf8;
    utf8.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            utf8 += c;
        } else {
            utf8 += static_cast<char>(0xC0 | (byte >> 6));
            utf8 += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return utf8;
}

Json reportDocument(const DecodedReport& report, const ReportDetails& details,
                    const JsonContext& context) {
    Json messages = Json::array();
    for (const std::string& message : details.messages) {
        messages.push_back(text(message));
    }
    Json lines = Json::array();
    for (const ReportLine& line : report.lines) {
        lines.push_back(reportLine(line));
    }
    Json blocks = Json::array();
    for (const ReportBlock& each : details.blocks) {
        blocks.push_back(block(each));
    }
    return Json{
        {"source", text(context.source)},
        {"prefix", context.hasPrefix ? text(context.prefix) : Json(nullptr)},
        {"report", report.number},
        {"line", report.line > 0 ? Json(report.line) : Json(nullptr)},
        {"complete", report.complete},
        {"messages", messages},
        {"lines", lines},
        {"blocks", blocks},
    };
}

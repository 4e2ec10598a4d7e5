// The JSON form of a decoded report, as vexa-decode --json prints it; the
// schema is described in docs/json-schema.md.
//
// Report text is 8-bit with no code page of its own, while JSON text is
// Unicode: every byte becomes the character of the same number (ISO 8859-1),
// so no byte is refused or lost and each can be had back exactly.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "report_values.h"

struct JsonContext {
    std::string source;  // the file name, "-" for standard input, or "clipboard"
    bool hasPrefix = false;
    std::string prefix;  // without the space the text output adds
};

// What a run hands out before the report it belongs to, gathered by a
// writer of this form as it comes.
struct ReportDetails {
    std::vector<std::string> messages;  // in the order they arose
    std::vector<ReportBlock> blocks;    // in input order
};

nlohmann::ordered_json reportDocument(const DecodedReport& report, const ReportDetails& details,
                                      const JsonContext& context);

std::string latin1ToUtf8(std::string_view text);

// The JSON form of a decoded report, for a front end that keeps its reports
// whole and hands out their documents later (the page): --json's text of
// one report, as json_text.h writes it. The schema is described in
// docs/json-schema.md.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "json_text.h"
#include "report_values.h"

// What a run hands out before the report it belongs to, gathered by a
// writer of this form as it comes.
struct ReportDetails {
    std::vector<std::string> messages;  // in the order they arose
    std::vector<ReportBlock> blocks;    // in input order
};

// Without a line end.
std::string reportDocument(const DecodedReport& report, const ReportDetails& details,
                           const JsonContext& context);

// Each byte as the character of the same number, in UTF-8.
std::string latin1ToUtf8(std::string_view text);

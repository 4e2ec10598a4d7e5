// The JSON document of one decoded report, whole, for a front end that hands
// it out later.

#include "json_report.h"

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

std::string reportDocument(const DecodedReport& report, const ReportDetails& details,
                           const JsonContext& context) {
    JsonReportText text(true);
    for (const std::string& message : details.messages) {
        text.message(message);
    }
    for (const ReportBlock& block : details.blocks) {
        text.block(block);
    }
    std::string document;
    text.document(report, context, document);
    return document;
}

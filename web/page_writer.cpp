// The page's writer.

#include "page_writer.h"

#include <utility>

void PageWriter::message(std::string_view text) {
    appendTextLine(style_, text, pending_.text);
    pending_.details.messages.emplace_back(text);
}

void PageWriter::block(const ReportBlock& block) {
    pending_.details.blocks.push_back(block);
}

void PageWriter::report(const DecodedReport& report) {
    for (const ReportLine& line : report.lines) {
        appendTextLine(style_, reportLineText(line), pending_.text);
    }
    pending_.decoded = report;
    reports_.push_back(std::move(pending_));
    pending_ = PageReport();
}

// The page's writer.

#include "page_writer.h"

#include <utility>

PageWriter::PageWriter(const LineStyle& style, std::vector<PageReport>& reports)
    : reports_(reports) {
    TextSettings settings;
    settings.style = style;
    settings.showsReadFailed = true;
    textWriter_ = makeTextWriter(text_, settings);
}

void PageWriter::message(std::string_view text) {
    textWriter_->message(text);
    pending_.details.messages.emplace_back(text);
}

void PageWriter::block(const ReportBlock& block) {
    pending_.details.blocks.push_back(block);
}

void PageWriter::report(const DecodedReport& report) {
    textWriter_->report(report);
    pending_.text = std::move(text_.text);
    text_.text.clear();
    pending_.decoded = report;
    reports_.push_back(std::move(pending_));
    pending_ = PageReport();
}

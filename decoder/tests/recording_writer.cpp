// The recording writer of the tests.

#include "recording_writer.h"

#include <utility>

RecordingWriter::RecordingWriter(std::string prefix, bool lineNumbers) : lineNumbers_(lineNumbers) {
    style_.prefix = std::move(prefix);
}

void RecordingWriter::message(std::string_view message) {
    appendTextLine(style_, message, pending_);
    pendingMessages_.emplace_back(message);
}

void RecordingWriter::block(const ReportBlock& block) {
    pendingBlocks_.push_back(block);
}

void RecordingWriter::report(const DecodedReport& report) {
    for (const ReportLine& line : report.lines) {
        appendTextLine(style_, reportLineText(line), pending_);
    }
    text += pending_;
    reports.push_back(report);
    reportTexts.push_back(std::move(pending_));
    messages.push_back(std::move(pendingMessages_));
    blocks.push_back(std::move(pendingBlocks_));
    pending_.clear();
    pendingMessages_.clear();
    pendingBlocks_.clear();
}

// The recording writer of the tests.

#include "recording_writer.h"

#include <utility>

RecordingWriter::RecordingWriter(std::string prefix, bool lineNumbers) : lineNumbers_(lineNumbers) {
    TextSettings settings;
    settings.style.prefix = std::move(prefix);
    settings.showsReadFailed = true;
    text_ = makeTextWriter(pending_, settings);
}

void RecordingWriter::message(std::string_view message) {
    text_->message(message);
    pendingMessages_.emplace_back(message);
}

void RecordingWriter::block(const ReportBlock& block) {
    pendingBlocks_.push_back(block);
}

void RecordingWriter::report(const DecodedReport& report) {
    text_->report(report);
    text += pending_.text;
    reports.push_back(report);
    reportTexts.push_back(std::move(pending_.text));
    messages.push_back(std::move(pendingMessages_));
    blocks.push_back(std::move(pendingBlocks_));
    pending_.text.clear();
    pendingMessages_.clear();
    pendingBlocks_.clear();
}

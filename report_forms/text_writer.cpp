// The text form: each report's text as the window shows it. With titles,
// the title (which says whether the report was cut off) goes first, so a
// report's messages are kept until it ends; a report's size is bounded
// (decoding_run.h). Without titles, messages that pile up past a block's
// worth are written as they come, so a report of a million messages costs
// no memory.

#include "output_writer.h"
#include "report_title.h"

namespace {

// Kept before a write: large enough that a report is one write.
constexpr std::size_t WriteSize = 64 * 1024;

class TextWriter : public OutputWriter {
  public:
    TextWriter(OutputSink& sink, const TextSettings& settings) : sink_(sink), settings_(settings) {}

    void beginInput(const std::string& name, const std::string&) override {
        if (settings_.severalInputs) {
            if (inputs_ > 0) {
                ownLine("");
            }
            ownLine("==> " + (name == "-" ? std::string("standard input") : name) + " <==");
        }
        ++inputs_;
    }

    void ownLine(const std::string& text) override {
        std::string line;
        appendTextLine(settings_.style, text, line);
        sink_.write(line);
    }

    void message(std::string_view text) override {
        appendTextLine(settings_.style, text, pending_);
        if (!settings_.titled && pending_.size() >= WriteSize) {
            sink_.write(pending_);
            pending_.clear();
        }
    }

    void block(const ReportBlock&) override {}

    void report(const DecodedReport& report) override {
        if (!report.readFailed || settings_.showsReadFailed) {
            const LineStyle& style = settings_.style;
            if (settings_.titled && report.line > 0) {
                appendTextLine(style, reportTitle(report), out_);
            }
            out_ += pending_;
            // Sized once and written in place: the lines cost no append each.
            const std::size_t at = out_.size();
            std::size_t room = at;
            for (const ReportLine& line : report.lines) {
                room += reportLineRoom(style, line);
            }
            out_.resize(room);
            char* end = &out_[at];
            for (const ReportLine& line : report.lines) {
                end = writeReportLine(style, line, end);
            }
            out_.resize(static_cast<std::size_t>(end - &out_[0]));
            sink_.write(out_);
            sink_.flush();
        }
        pending_.clear();
        out_.clear();
    }

    void endInput() override { sink_.flush(); }

    bool wantsLineNumbers() const override { return settings_.titled; }
    bool keepsWholeReports() const override { return settings_.titled; }
    bool wantsTokens() const override { return false; }

  private:
    OutputSink& sink_;
    TextSettings settings_;
    int inputs_ = 0;
    std::string pending_;  // the messages of the report under way
    std::string out_;
};

}  // namespace

std::unique_ptr<OutputWriter> makeTextWriter(OutputSink& sink, const TextSettings& settings) {
    return std::make_unique<TextWriter>(sink, settings);
}

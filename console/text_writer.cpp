// The text form: each report's text as the window shows it. With titles,
// the title (which says whether the report was cut off) goes first, so a
// report's messages are kept until it ends; a report's size is bounded
// (decoding_run.h). Without titles, messages that pile up past a block's
// worth are written as they come, so a report of a million messages costs
// no memory.

#include <utility>

#include "output_writer.h"
#include "report_title.h"

namespace {

// Kept before a write: large enough that a report is one write.
constexpr std::size_t WriteSize = 64 * 1024;

class TextWriter : public OutputWriter {
  public:
    TextWriter(LineStyle style, bool titled, bool severalInputs)
        : style_(std::move(style)), titled_(titled), severalInputs_(severalInputs) {}

    void beginInput(const std::string& source) override {
        if (severalInputs_) {
            if (inputs_ > 0) {
                ownLine("");
            }
            ownLine("==> " + (source == "-" ? std::string("standard input") : source) + " <==");
        }
        ++inputs_;
    }

    void ownLine(const std::string& text) override {
        std::string line;
        appendTextLine(style_, text, line);
        writeOutput(line);
    }

    void message(std::string_view text) override {
        appendTextLine(style_, text, pending_);
        if (!titled_ && pending_.size() >= WriteSize) {
            writeOutput(pending_);
            pending_.clear();
        }
    }

    void block(const ReportBlock&) override {}

    void report(const DecodedReport& report) override {
        if (!report.readFailed) {
            if (titled_ && report.line > 0) {
                appendTextLine(style_, reportTitle(report), out_);
            }
            out_ += pending_;
            // Sized once and written in place: the lines cost no append each.
            const std::size_t at = out_.size();
            std::size_t room = at;
            for (const ReportLine& line : report.lines) {
                room += reportLineRoom(style_, line);
            }
            out_.resize(room);
            char* end = &out_[at];
            for (const ReportLine& line : report.lines) {
                end = writeReportLine(style_, line, end);
            }
            out_.resize(static_cast<std::size_t>(end - &out_[0]));
            writeOutput(out_);
            flushOutput();
        }
        pending_.clear();
        out_.clear();
    }

    void endInput() override { flushOutput(); }

    bool wantsLineNumbers() const override { return titled_; }
    bool wantsTokens() const override { return false; }

  private:
    LineStyle style_;
    bool titled_;
    bool severalInputs_;
    int inputs_ = 0;
    std::string pending_;  // the messages of the report under way
    std::string out_;
};

}  // namespace

std::unique_ptr<OutputWriter> makeTextWriter(const LineStyle& style, bool titled,
                                             bool severalInputs) {
    return std::make_unique<TextWriter>(style, titled, severalInputs);
}

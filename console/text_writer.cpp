// The text form: each report's text as the window shows it. Its messages
// arrive before it ends, so the text is kept until then, when the title
// (which says whether the report was cut off) can go first.

#include <algorithm>
#include <utility>
#include <vector>

#include "output_writer.h"
#include "report_title.h"

namespace {

// A report's text is kept in pieces of at least this size, which never
// move: a report of a million messages is not copied over and over as it
// grows.
constexpr std::size_t PieceSize = 64 * 1024;

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

    void message(std::string_view text) override { pend(text); }

    void block(const ReportBlock&) override {}

    void report(const DecodedReport& report) override {
        if (!report.readFailed) {
            if (titled_ && report.line > 0) {
                ownLine(reportTitle(report));
            }
            for (const ReportLine& line : report.lines) {
                pend(reportLineText(line));
            }
            for (const std::string& piece : pending_) {
                writeOutput(piece);
            }
            flushOutput();
        }
        pending_.clear();
    }

    void endInput() override { flushOutput(); }

    bool wantsLineNumbers() const override { return titled_; }
    bool wantsTokens() const override { return false; }

  private:
    void pend(std::string_view text) {
        const std::size_t length = style_.prefix.size() + text.size() + style_.end.size();
        if (pending_.empty() || pending_.back().capacity() - pending_.back().size() < length) {
            pending_.emplace_back();
            pending_.back().reserve(std::max(PieceSize, length));
        }
        appendTextLine(style_, text, pending_.back());
    }

    LineStyle style_;
    bool titled_;
    bool severalInputs_;
    int inputs_ = 0;
    std::vector<std::string> pending_;  // the text of the report under way
};

}  // namespace

std::unique_ptr<OutputWriter> makeTextWriter(const LineStyle& style, bool titled,
                                             bool severalInputs) {
    return std::make_unique<TextWriter>(style, titled, severalInputs);
}

// The JSON Lines form: each report's document on a line of its own, written
// as soon as the report ends.

#include "output_writer.h"

namespace {

class JsonLinesWriter : public OutputWriter {
  public:
    explicit JsonLinesWriter(const JsonContext& context) : context_(context) {}

    void beginInput(const std::string& source) override { context_.source = source; }

    void message(std::string_view text) override { details_.messages.emplace_back(text); }

    void block(const ReportBlock& block) override { details_.blocks.push_back(block); }

    void report(const DecodedReport& report) override {
        if (!report.readFailed) {
            writeOutput(reportDocument(report, details_, context_).dump() + "\n");
            flushOutput();
        }
        details_ = ReportDetails();
    }

  private:
    JsonContext context_;
    ReportDetails details_;  // of the report under way
};

}  // namespace

std::unique_ptr<OutputWriter> makeJsonLinesWriter(const JsonContext& context) {
    return std::make_unique<JsonLinesWriter>(context);
}

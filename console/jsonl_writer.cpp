// The JSON Lines form: each report's document on a line of its own, written
// as soon as the report ends.

#include "output_writer.h"
#include "streams.h"

namespace {

class JsonLinesWriter : public OutputWriter {
  public:
    explicit JsonLinesWriter(const JsonContext& context) : context_(context) {}

    void beginInput(const std::string& source) override {
        context_.source = fileNameInUtf8(source);
    }

    void message(std::string_view text) override { text_.message(text); }

    void block(const ReportBlock& block) override { text_.block(block); }

    void report(const DecodedReport& report) override {
        if (report.readFailed) {
            text_.clear();
            return;
        }
        writeOutput(text_.document(report, context_));
        writeOutput("\n");
        flushOutput();
    }

  private:
    JsonContext context_;
    JsonReportText text_{false};
};

}  // namespace

std::unique_ptr<OutputWriter> makeJsonLinesWriter(const JsonContext& context) {
    return std::make_unique<JsonLinesWriter>(context);
}

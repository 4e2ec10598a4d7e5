// The JSON Lines form: each report's document on a line of its own, written
// as soon as the report ends.

#include "output_writer.h"

namespace {

class JsonLinesWriter : public OutputWriter {
  public:
    JsonLinesWriter(OutputSink& sink, const JsonContext& context)
        : sink_(sink), context_(context) {}

    void beginInput(const std::string&, const std::string& nameInUtf8) override {
        context_.source = nameInUtf8;
    }

    void message(std::string_view text) override { text_.message(text); }

    void block(const ReportBlock& block) override { text_.block(block); }

    void report(const DecodedReport& report) override {
        if (report.readFailed) {
            text_.clear();
            return;
        }
        sink_.write(text_.document(report, context_));
        sink_.write("\n");
        sink_.flush();
    }

  private:
    OutputSink& sink_;
    JsonContext context_;
    JsonReportText text_{false};
};

}  // namespace

std::unique_ptr<OutputWriter> makeJsonLinesWriter(OutputSink& sink, const JsonContext& context) {
    return std::make_unique<JsonLinesWriter>(sink, context);
}

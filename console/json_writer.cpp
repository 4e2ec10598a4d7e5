// The JSON form: one document a report, gathered whole as it ends; the
// documents of a run in one array, or in a watch one compact line a
// decoding.

#include "output_writer.h"

namespace {

using Json = nlohmann::ordered_json;

void writeJson(const Json& value, bool compact) {
    writeOutput(value.dump(compact ? -1 : 2) + "\n");
}

class JsonWriter : public OutputWriter {
  public:
    JsonWriter(const JsonContext& context, bool watch, bool arrays)
        : context_(context), watch_(watch), arrays_(arrays) {}

    void beginInput(const std::string& source) override { context_.source = source; }

    void message(std::string_view text) override { details_.messages.emplace_back(text); }

    void block(const ReportBlock& block) override { details_.blocks.push_back(block); }

    void report(const DecodedReport& report) override {
        if (!report.readFailed) {
            if (arrays_) {
                documents_.push_back(reportDocument(report, details_, context_));
            } else {
                writeJson(reportDocument(report, details_, context_), watch_);
            }
        }
        details_ = ReportDetails();
        flushOutput();
    }

    void endInput() override {
        if (watch_ && arrays_) {
            writeJson(documents_, true);
            documents_ = Json::array();
        }
        flushOutput();
    }

    void finish() override {
        if (!watch_ && arrays_) {
            writeJson(documents_, false);
        }
    }

  private:
    JsonContext context_;
    bool watch_;
    bool arrays_;
    ReportDetails details_;  // of the report under way
    Json documents_ = Json::array();
};

}  // namespace

std::unique_ptr<OutputWriter> makeJsonWriter(const JsonContext& context, bool watch, bool arrays) {
    return std::make_unique<JsonWriter>(context, watch, arrays);
}

// The JSON form: one document a report, written as the report ends. The
// documents of a run stand in one array, written element by element; in a
// watch each decoding is one compact line.

#include "output_writer.h"
#include "streams.h"

namespace {

class JsonWriter : public OutputWriter {
  public:
    JsonWriter(const JsonContext& context, bool watch, bool arrays)
        : context_(context),
          watch_(watch),
          arrays_(arrays),
          text_(!watch, arrays && !watch ? 2 : 0) {}

    void beginInput(const std::string& source) override {
        context_.source = fileNameInUtf8(source);
        if (watch_ && arrays_) {
            out_ = "[";
            documents_ = 0;
        }
    }

    void message(std::string_view text) override { text_.message(text); }

    void block(const ReportBlock& block) override { text_.block(block); }

    void report(const DecodedReport& report) override {
        if (report.readFailed) {
            text_.clear();
            return;
        }
        if (arrays_) {
            out_ += documents_ == 0 ? (watch_ ? "" : "[\n  ") : (watch_ ? "," : ",\n  ");
        }
        ++documents_;
        const std::string_view document = text_.document(report, context_);
        if (watch_ && arrays_) {
            out_ += document;  // the decoding's array is one line
        } else {
            writeOutput(out_);
            out_.clear();
            writeOutput(document);
            if (!arrays_) {
                writeOutput("\n");
            }
        }
        flushOutput();
    }

    void endInput() override {
        if (watch_ && arrays_) {
            writeOutput(out_ + "]\n");
            out_.clear();
        }
        flushOutput();
    }

    void finish() override {
        if (!watch_ && arrays_) {
            writeOutput(documents_ == 0 ? "[]\n" : "\n]\n");
        }
    }

  private:
    JsonContext context_;
    bool watch_;
    bool arrays_;
    JsonReportText text_;
    std::string out_;
    long documents_ = 0;
};

}  // namespace

std::unique_ptr<OutputWriter> makeJsonWriter(const JsonContext& context, bool watch, bool arrays) {
    return std::make_unique<JsonWriter>(context, watch, arrays);
}

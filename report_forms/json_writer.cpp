// The JSON forms: one document a report, written as the report ends. The
// documents of a run stand in one array, written element by element; in a
// watch each decoding is one compact line. JSON Lines are a watch's lines
// without the array: one compact document a line.

#include "output_writer.h"

namespace {

class JsonWriter : public OutputWriter {
  public:
    JsonWriter(OutputSink& sink, const JsonContext& context, bool watch, bool arrays)
        : sink_(sink),
          context_(context),
          watch_(watch),
          arrays_(arrays),
          text_(!watch, arrays && !watch ? 2 : 0) {}

    void beginInput(const std::string&, const std::string& nameInUtf8) override {
        context_.source = nameInUtf8;
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
            sink_.write(out_);
            out_.clear();
            sink_.write(document);
            if (!arrays_) {
                sink_.write("\n");
            }
        }
        sink_.flush();
    }

    void endInput() override {
        if (watch_ && arrays_) {
            sink_.write(out_ + "]\n");
            out_.clear();
        }
        sink_.flush();
    }

    void finish() override {
        if (!watch_ && arrays_) {
            sink_.write(documents_ == 0 ? "[]\n" : "\n]\n");
        }
    }

  private:
    OutputSink& sink_;
    JsonContext context_;
    bool watch_;
    bool arrays_;
    JsonReportText text_;
    std::string out_;
    long documents_ = 0;
};

}  // namespace

std::unique_ptr<OutputWriter> makeJsonWriter(OutputSink& sink, const JsonContext& context,
                                             bool watch, bool arrays) {
    return std::make_unique<JsonWriter>(sink, context, watch, arrays);
}

std::unique_ptr<OutputWriter> makeJsonLinesWriter(OutputSink& sink, const JsonContext& context) {
    return std::make_unique<JsonWriter>(sink, context, true, false);
}

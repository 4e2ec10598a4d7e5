// The CSV form: a header row at once (unless asked not to), then a row as
// each report ends.

#include "csv_report.h"
#include "output_writer.h"

namespace {

class CsvWriter : public OutputWriter {
  public:
    CsvWriter(OutputSink& sink, const std::string& lineEnd, bool header)
        : sink_(sink), lineEnd_(lineEnd) {
        if (header) {
            sink_.write(csvHeader(lineEnd_));
        }
    }

    // In UTF-8, as in the JSON forms, whatever the system's code page.
    void beginInput(const std::string&, const std::string& nameInUtf8) override {
        source_ = nameInUtf8;
    }

    void message(std::string_view text) override {
        if (!messages_.empty()) {
            messages_ += '\n';
        }
        messages_.append(text.data(), text.size());
    }

    void block(const ReportBlock&) override {}
    bool wantsTokens() const override { return false; }

    void report(const DecodedReport& report) override {
        if (!report.readFailed) {
            appendCsvRow(report, source_, messages_, lineEnd_, row_);
            sink_.write(row_);
            sink_.flush();
            row_.clear();
        }
        messages_.clear();
    }

  private:
    OutputSink& sink_;
    std::string lineEnd_;
    std::string source_;
    std::string messages_;  // of the report under way, one a line
    std::string row_;
};

}  // namespace

std::unique_ptr<OutputWriter> makeCsvWriter(OutputSink& sink, const std::string& lineEnd,
                                            bool header) {
    return std::make_unique<CsvWriter>(sink, lineEnd, header);
}

// The CSV form: a header row at once (unless asked not to), then a row as
// each report ends.

#include "csv_report.h"
#include "output_writer.h"
#include "streams.h"

namespace {

class CsvWriter : public OutputWriter {
  public:
    CsvWriter(const std::string& lineEnd, bool header) : lineEnd_(lineEnd) {
        if (header) {
            writeOutput(csvHeader(lineEnd_));
        }
    }

    // In UTF-8, as in the JSON forms, whatever the system's code page.
    void beginInput(const std::string& source) override { source_ = fileNameInUtf8(source); }

    void message(std::string_view text) override { messages_.emplace_back(text); }

    void block(const ReportBlock&) override {}
    bool wantsTokens() const override { return false; }

    void report(const DecodedReport& report) override {
        if (!report.readFailed) {
            writeOutput(csvRow(report, source_, messages_, lineEnd_));
            flushOutput();
        }
        messages_.clear();
    }

  private:
    std::string lineEnd_;
    std::string source_;
    std::vector<std::string> messages_;  // of the report under way
};

}  // namespace

std::unique_ptr<OutputWriter> makeCsvWriter(const std::string& lineEnd, bool header) {
    return std::make_unique<CsvWriter>(lineEnd, header);
}

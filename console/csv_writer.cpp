// The CSV form: a header row at once, then a row as each report ends.

#include "csv_report.h"
#include "output_writer.h"

namespace {

class CsvWriter : public OutputWriter {
  public:
    explicit CsvWriter(const std::string& lineEnd) : lineEnd_(lineEnd) {
        writeOutput(csvHeader(lineEnd_));
    }

    void beginInput(const std::string& source) override { source_ = source; }

    void message(std::string_view) override {}

    void block(const ReportBlock&) override {}
    bool wantsTokens() const override { return false; }

    void report(const DecodedReport& report) override {
        if (!report.readFailed) {
            writeOutput(csvRow(report, source_, lineEnd_));
            flushOutput();
        }
    }

  private:
    std::string lineEnd_;
    std::string source_;
};

}  // namespace

std::unique_ptr<OutputWriter> makeCsvWriter(const std::string& lineEnd) {
    return std::make_unique<CsvWriter>(lineEnd);
}

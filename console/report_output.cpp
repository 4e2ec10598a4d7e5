// Printing decoded reports: the message buffer's text as it stands, or the
// JSON documents and CSV rows built from the reports.

#include "report_output.h"

#include <cstdio>

#include "csv_report.h"
#include "message_buffer.h"
#include "report_title.h"

namespace {

using Json = nlohmann::ordered_json;

void writeText(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
}

}  // namespace

ReportPrinter::ReportPrinter(const ConsoleOptions& options, bool severalInputs)
    : options_(options),
      severalInputs_(severalInputs),
      wantsReports_(options.form != OutputForm::Text || options.allReports ||
                    options.requireReport),
      arrayPerInput_(options.form == OutputForm::Json && options.watch && options.allReports),
      arrayWhole_(options.form == OutputForm::Json && !options.watch &&
                  (options.allReports || severalInputs)) {
    context_.hasPrefix = options.prefix.choice == PrefixChoice::Text;
    context_.prefix = options.prefix.text;
    if (options.form == OutputForm::Csv) {
        writeText(csvHeader());
    }
}

void ReportPrinter::beginInput(const std::string& source) {
    context_.source = source;
    if (options_.form == OutputForm::Text && severalInputs_) {
        if (inputs_ > 0) {
            writeOwnLine("");
        }
        writeOwnLine("==> " + (source == "-" ? std::string("standard input") : source) + " <==");
    }
    ++inputs_;
}

void ReportPrinter::print(const DecodedReport& report) {
    switch (options_.form) {
        case OutputForm::Text:
            if (!options_.allReports) {
                return;  // the plain text waits for printBuffer
            }
            if (report.line > 0) {
                writeOwnLine(reportTitle(report));
            }
            printBuffer();
            break;
        case OutputForm::Json:
            if (arrayPerInput_ || arrayWhole_) {
                documents_.push_back(reportDocument(report, context_));
            } else {
                writeJson(reportDocument(report, context_), options_.watch);
            }
            break;
        case OutputForm::JsonLines:
            writeJson(reportDocument(report, context_), true);
            break;
        case OutputForm::Csv:
            writeText(csvRow(report, context_.source));
            break;
    }
    emptyMessageBuffer();
    std::fflush(stdout);
}

void ReportPrinter::printBuffer() {
    std::fwrite(messageBufferText(), 1, messageBufferLength(), stdout);
    emptyMessageBuffer();
}

void ReportPrinter::endInput() {
    if (arrayPerInput_) {
        writeJson(documents_, true);
        documents_ = Json::array();
    }
    std::fflush(stdout);
}

void ReportPrinter::finish() {
    if (arrayWhole_) {
        writeJson(documents_, false);
    }
    std::fflush(stdout);
}

void ReportPrinter::writeJson(const Json& value, bool compact) {
    writeText(value.dump(compact ? -1 : 2) + "\n");
}

void writeOwnLine(const std::string& text) {
    writeText(linePrefix() + text + lineEnd());
}

// Printing decoded reports: the message buffer's text as it stands, or the
// JSON documents built from the reports.

#include "report_output.h"

#include <cerrno>

#include "decoder.h"
#include "json_report.h"
#include "message_buffer.h"

namespace {

using Json = nlohmann::ordered_json;

void writeText(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
}

void writeMessageBuffer() {
    std::fwrite(messageBufferText(), 1, messageBufferLength(), stdout);
}

bool readFailed(std::FILE* input) {
    return input != nullptr && std::ferror(input) != 0;
}

// Prints each report of a run as it comes, but an array of JSON documents
// only once the run is over. A read error cuts the report under way short:
// it is not printed, and neither is a JSON document of the run.
class ReportPrinter {
  public:
    ReportPrinter(const ConsoleOptions& options, std::FILE* input, const std::string& source)
        : options_(options), input_(input) {
        context_.source = source;
        context_.hasPrefix = options.prefix.choice == PrefixChoice::Text;
        context_.prefix = options.prefix.text;
    }

    void print(const DecodedReport& report) {
        if (!readFailed(input_)) {
            printReport(report);
        }
        emptyMessageBuffer();
    }

    void finish() {
        if (options_.json && options_.allReports && !readFailed(input_)) {
            writeJson(documents_);
        }
    }

  private:
    void printReport(const DecodedReport& report) {
        if (!options_.json) {
            if (report.line > 0) {
                writeOwnLine("Report " + std::to_string(report.number) + " (line " +
                             std::to_string(report.line) + ")");
            }
            writeMessageBuffer();
        } else if (options_.allReports) {
            documents_.push_back(reportDocument(report, context_));
        } else {
            writeJson(reportDocument(report, context_));
        }
    }

    // A watch prints one document a line.
    void writeJson(const Json& value) { writeText(value.dump(options_.watch ? -1 : 2) + "\n"); }

    const ConsoleOptions& options_;
    std::FILE* input_;
    JsonContext context_;
    Json documents_ = Json::array();
};

void noteReadError(std::FILE* input, Decoding* decoding) {
    decoding->readError = errno;
    decoding->readFailed = readFailed(input);
}

}  // namespace

Decoding decodeAndPrint(std::FILE* input, const ConsoleOptions& options,
                        const std::string& source) {
    Decoding decoding;
    emptyMessageBuffer();
    if (!options.json && !options.allReports) {
        decoding.result = decodeReport(input);
        noteReadError(input, &decoding);
        if (!decoding.readFailed) {
            writeMessageBuffer();
        }
    } else {
        ReportPrinter printer(options, input, source);
        decoding.result =
            decodeReports(input, options.allReports ? ReportScope::Every : ReportScope::First,
                          [&printer](const DecodedReport& report) { printer.print(report); });
        noteReadError(input, &decoding);
        printer.finish();
    }
    std::fflush(stdout);
    return decoding;
}

void writeOwnLine(const std::string& text) {
    writeText(linePrefix() + text + "\r\n");
}

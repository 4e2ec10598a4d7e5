// Choosing the writer: what each form is given from the options.

#include "output_writer.h"

#include <cstdio>

#include "prefix_options.h"
#include "streams.h"

std::unique_ptr<OutputWriter> makeOutputWriter(const ConsoleOptions& options, bool severalInputs) {
    LineStyle style;
    style.prefix = linePrefixFor(options.prefix);
    style.end = options.lineFeeds ? "\n" : "\r\n";
    JsonContext json;
    json.hasPrefix = options.prefix.choice == PrefixChoice::Text;
    json.prefix = options.prefix.text;
    if (options.summary) {
        return makeSummaryWriter(style, options.form == OutputForm::Json, options.bySource);
    }
    switch (options.form) {
        case OutputForm::Text:
            return makeTextWriter(style, options.allReports, severalInputs);
        case OutputForm::Json:
            return makeJsonWriter(json, options.watch, options.allReports || severalInputs);
        case OutputForm::JsonLines:
            return makeJsonLinesWriter(json);
        case OutputForm::Csv:
            return makeCsvWriter(style.end, !options.noHeader);
    }
    return nullptr;
}

namespace {

bool liveInput = true;

}  // namespace

void writeOutput(std::string_view bytes) {
    if (!writeToConsole(bytes, false)) {
        std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    }
}

void flushOutput() {
    if (liveInput) {
        std::fflush(stdout);
    }
}

void setLiveInput(bool live) {
    liveInput = live;
}

// Choosing the writer: what each form is given from the options.

#include "output_writer.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

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
// The reason of the first write that failed; 0 while none has.
int writeError = 0;

void noteWriteError() {
    if (writeError == 0) {
        writeError = errno != 0 ? errno : EIO;
    }
}

}  // namespace

void writeOutput(std::string_view bytes) {
    errno = 0;
    if (writeToConsole(bytes, false)) {
        return;
    }
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size()) {
        noteWriteError();
    }
}

std::string finishOutput() {
    errno = 0;
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        noteWriteError();
    }
    return writeError != 0 ? std::strerror(writeError) : "";
}

void flushOutput() {
    if (liveInput) {
        errno = 0;
        if (std::fflush(stdout) != 0) {
            noteWriteError();
        }
    }
}

void setLiveInput(bool live) {
    liveInput = live;
}

// Standard output as a sink, and what each form is given from the options.

#include "console_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "prefix_options.h"
#include "streams.h"

void StandardOutput::write(std::string_view bytes) {
    errno = 0;
    if (writeToConsole(bytes, false)) {
        return;
    }
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size()) {
        noteError();
    }
}

void StandardOutput::flush() {
    if (live_) {
        errno = 0;
        if (std::fflush(stdout) != 0) {
            noteError();
        }
    }
}

std::string StandardOutput::finish() {
    errno = 0;
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        noteError();
    }
    return error_ != 0 ? std::strerror(error_) : "";
}

void StandardOutput::noteError() {
    if (error_ == 0) {
        error_ = errno != 0 ? errno : EIO;
    }
}

std::unique_ptr<OutputWriter> makeOutputWriter(OutputSink& sink, const ConsoleOptions& options,
                                               bool severalInputs) {
    TextSettings text;
    text.style.prefix = linePrefixFor(options.prefix);
    text.style.end = options.lineFeeds ? "\n" : "\r\n";
    text.titled = options.allReports;
    text.severalInputs = severalInputs;
    JsonContext json;
    json.hasPrefix = options.prefix.choice == PrefixChoice::Text;
    json.prefix = options.prefix.text;
    if (options.summary) {
        return makeSummaryWriter(sink, text.style, options.form == OutputForm::Json,
                                 options.bySource);
    }
    switch (options.form) {
        case OutputForm::Text:
            return makeTextWriter(sink, text);
        case OutputForm::Json:
            return makeJsonWriter(sink, json, options.watch, options.allReports || severalInputs);
        case OutputForm::JsonLines:
            return makeJsonLinesWriter(sink, json);
        case OutputForm::Csv:
            return makeCsvWriter(sink, text.style.end, !options.noHeader);
    }
    return nullptr;
}

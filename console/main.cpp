// vexa-decode: decodes modem logs, standard input, a serial port or the
// clipboard, and writes the decoded reports to standard output. One log and
// no option give exactly the text the window program shows, CR LF line ends
// included; the options go further than the window.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "clipboard_watch.h"
#include "desktop_clipboard.h"
#include "input_decoding.h"
#include "message_buffer.h"
#include "options.h"
#include "port_query.h"
#include "report_output.h"
#include "streams.h"
#include "text_reader.h"

namespace {

constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;
constexpr int ExitNoReport = 3;

// Owns the message buffer for the program's run, released on every path.
class MessageBufferOwner {
  public:
    MessageBufferOwner() : created_(createMessageBuffer()) {}
    ~MessageBufferOwner() {
        if (created_) {
            releaseMessageBuffer();
        }
    }
    MessageBufferOwner(const MessageBufferOwner&) = delete;
    MessageBufferOwner& operator=(const MessageBufferOwner&) = delete;

    bool created() const { return created_; }

  private:
    bool created_;
};

int refuseCommandLine(const std::string& problem) {
    std::fprintf(stderr, "vexa-decode: %s\n%s\n", problem.c_str(), UsageText);
    return ExitUsage;
}

void complain(const std::string& name, const std::string& problem) {
    std::fprintf(stderr, "vexa-decode: %s: %s\n", name.c_str(), problem.c_str());
}

// A failure outweighs an input without a report.
int worse(int status, int other) {
    return status == ExitFailure || other == ExitFailure ? ExitFailure
                                                         : (status != 0 ? status : other);
}

int statusOf(const InputOutcome& outcome, const ConsoleOptions& options) {
    if (!outcome.readFailure.empty() || outcome.result != 0) {
        return ExitFailure;
    }
    return options.requireReport && !outcome.reportFound ? ExitNoReport : 0;
}

// A log named on the command line, or "-" for standard input.
int decodeNamed(const std::string& name, const ConsoleOptions& options, ReportPrinter& printer) {
    std::FILE* file = stdin;
    if (name != "-") {
        std::string failure;
        file = openLog(name, &failure);
        if (file == nullptr) {
            complain(name, failure);
            return ExitFailure;
        }
    }
    const std::unique_ptr<InputStream> stream = liveStreamFor(file);
    const InputOutcome outcome = decodeInput(file, stream.get(), name, options, printer);
    if (file != stdin) {
        std::fclose(file);
    }
    if (!outcome.readFailure.empty()) {
        complain(name == "-" ? "standard input" : name, outcome.readFailure);
    }
    return statusOf(outcome, options);
}

// No input named: standard input, unless it is a terminal (nothing piped
// in) or --clipboard asks for the clipboard.
int decodeUnnamed(const ConsoleOptions& options, ReportPrinter& printer) {
    if (!options.clipboard && !isCharacterDevice(stdin)) {
        return decodeNamed("-", options, printer);
    }
    takeDesktopClipboard();
    return statusOf(decodeInput(nullptr, nullptr, "clipboard", options, printer), options);
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const ParsedOptions parsed = parseConsoleOptions(args);
    switch (parsed.action) {
        case OptionsAction::Help:
            std::printf("%s\n\n%s\n", UsageText, HelpText);
            return 0;
        case OptionsAction::Version:
            std::printf("%s\n", VersionText);
            return 0;
        case OptionsAction::Usage:
            return refuseCommandLine(parsed.problem);
        case OptionsAction::Decode:
            break;
    }
    const ConsoleOptions& options = parsed.options;

    writeStandardOutputAsIs();
    const MessageBufferOwner buffer;
    if (!buffer.created()) {
        std::fprintf(stderr, "vexa-decode: %s\n", std::strerror(errno));
        return ExitFailure;
    }
    // JSON and CSV give the prefix a field of their own, or none.
    setLinePrefix(options.form == OutputForm::Text ? linePrefixFor(options.prefix).c_str() : "");
    setLineEnd(options.lineFeeds ? "\n" : "\r\n");
    ReportPrinter printer(options, options.sources.size() > 1);

    int status = 0;
    if (options.watch) {
        status = watchClipboard(options, printer);
    } else if (!options.port.empty()) {
        status = queryPort(options, printer);
    } else if (options.sources.empty()) {
        status = decodeUnnamed(options, printer);
    } else {
        for (const std::string& name : options.sources) {
            status = worse(status, decodeNamed(name, options, printer));
        }
    }
    printer.finish();
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        std::fprintf(stderr, "vexa-decode: cannot write the report\n");
        return ExitFailure;
    }
    return status;
}

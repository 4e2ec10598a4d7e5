// vexa-decode: decodes one modem log, standard input or the clipboard, and
// writes the decoded report to standard output exactly as the window program
// shows it, CR LF line ends included. --all, --json and --watch go further
// than the window; without them the output is the window's text.

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <thread>
#include <vector>

#include "decoder.h"
#include "desktop_clipboard.h"
#include "json_report.h"
#include "message_buffer.h"
#include "options.h"
#include "streams.h"
#include "text_reader.h"

namespace {

constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;

constexpr auto WatchInterval = std::chrono::milliseconds(500);
constexpr auto WatchStep = std::chrono::milliseconds(50);

volatile std::sig_atomic_t interrupted = 0;

extern "C" void onInterrupt(int) {
    interrupted = 1;
}

int refuseCommandLine(const std::string& problem) {
    if (!problem.empty()) {
        std::fprintf(stderr, "vexa-decode: %s\n", problem.c_str());
    }
    std::fprintf(stderr, "%s\n", UsageText);
    return ExitUsage;
}

bool writeText(const std::string& text) {
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
}

bool writeReport() {
    const std::size_t length = messageBufferLength();
    return std::fwrite(messageBufferText(), 1, length, stdout) == length &&
           std::fflush(stdout) == 0;
}

// A line of our own between report lines: prefix in front, CR LF behind.
std::string ownLine(const std::string& text) {
    return linePrefix() + text + "\r\n";
}

// Prints the reports of a watched run as they come: headed text for --all,
// one JSON document, or an array of them.
class ReportPrinter {
  public:
    ReportPrinter(const ConsoleOptions& options, std::string source)
        : options_(options), jsonLines_(options.watch) {
        context_.source = std::move(source);
        context_.hasPrefix = options.prefix.choice == PrefixChoice::Text;
        context_.prefix = options.prefix.text;
    }

    void print(const DecodedReport& report) {
        if (!options_.json) {
            if (report.line > 0) {
                writeText(ownLine("Report " + std::to_string(report.number) + " (line " +
                                  std::to_string(report.line) + ")"));
            }
            writeReport();
        } else if (jsonLines_ && !options_.allReports) {
            writeText(reportDocument(report, context_).dump() + "\n");
        } else if (jsonLines_) {
            writeText(std::string(printed_ == 0 ? "[" : ",") +
                      reportDocument(report, context_).dump());
        } else if (!options_.allReports) {
            writeText(reportDocument(report, context_).dump(2) + "\n");
        } else {
            std::string document = reportDocument(report, context_).dump(2);
            for (std::size_t at = document.find('\n'); at != std::string::npos;
                 at = document.find('\n', at + 3)) {
                document.replace(at, 1, "\n  ");
            }
            writeText((printed_ == 0 ? "[\n  " : ",\n  ") + document);
        }
        ++printed_;
        emptyMessageBuffer();
    }

    void finish() {
        if (options_.json && options_.allReports) {
            writeText(jsonLines_ ? "]\n" : "\n]\n");
        }
        std::fflush(stdout);
    }

  private:
    const ConsoleOptions& options_;
    JsonContext context_;
    bool jsonLines_;
    int printed_ = 0;
};

// One decoding of input (null: the clipboard) in the form the options ask
// for. Returns the decoder's result.
int decodeAndPrint(std::FILE* input, const ConsoleOptions& options, const std::string& source) {
    emptyMessageBuffer();
    if (!options.json && !options.allReports) {
        const int result = decodeReport(input);
        writeReport();
        return result;
    }
    ReportPrinter printer(options, source);
    const int result =
        decodeReports(input, options.allReports ? ReportScope::Every : ReportScope::First,
                      [&printer](const DecodedReport& report) { printer.print(report); });
    printer.finish();
    return result;
}

std::string clockTime() {
    const std::time_t now = std::time(nullptr);
    char text[16] = "";
    const std::tm* local = std::localtime(&now);
    if (local != nullptr) {
        std::strftime(text, sizeof text, "%H:%M:%S", local);
    }
    return text;
}

// Decodes the clipboard now and after every change until interrupted (or
// until --watch-count decodings are done).
int watchClipboard(const ConsoleOptions& options) {
    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);
    long decoded = 0;
    while (interrupted == 0) {
        if (takeDesktopClipboard()) {
            ++decoded;
            if (!options.json) {
                writeText(ownLine("=== clipboard " + std::to_string(decoded) + " at " +
                                  clockTime() + " ==="));
            }
            decodeAndPrint(nullptr, options, "clipboard");
            std::fflush(stdout);
            if (options.watchCount > 0 && decoded >= options.watchCount) {
                break;
            }
        }
        for (auto waited = std::chrono::milliseconds(0); waited < WatchInterval && interrupted == 0;
             waited += WatchStep) {
            std::this_thread::sleep_for(WatchStep);
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const ParsedOptions parsed = parseConsoleOptions(args);
    if (parsed.action == OptionsAction::Help) {
        std::printf("%s\n\n%s\n", UsageText, HelpText);
        return 0;
    }
    if (parsed.action == OptionsAction::Usage) {
        return refuseCommandLine(parsed.problem);
    }
    const ConsoleOptions& options = parsed.options;

    writeStandardOutputAsIs();
    if (!createMessageBuffer()) {
        std::fprintf(stderr, "vexa-decode: %s\n", std::strerror(errno));
        return ExitFailure;
    }
    // JSON gives the prefix a field of its own instead.
    setLinePrefix(options.json ? "" : linePrefixFor(options.prefix).c_str());
    if (options.watch) {
        const int code = watchClipboard(options);
        releaseMessageBuffer();
        return code;
    }

    std::FILE* input = stdin;
    std::string source = "-";
    if (options.clipboard || (!options.hasSource && isCharacterDevice(stdin))) {
        input = nullptr;  // nothing piped in: decode the clipboard
    } else if (options.hasSource && options.source != "-") {
        input = openLog(options.source);
        source = options.source;
        if (input == nullptr) {
            std::fprintf(stderr, "Cannot open file: %s\n", std::strerror(errno));
            releaseMessageBuffer();
            return ExitFailure;
        }
    }
    // A terminal named as "-" is the clipboard to the decoder as well.
    if (input == nullptr || isCharacterDevice(input)) {
        source = "clipboard";
        takeDesktopClipboard();
    }

    const bool plain = !options.json && !options.allReports;
    int result = 0;
    if (plain) {
        result = decodeReport(input);
    } else {
        result = decodeAndPrint(input, options, source);
    }
    const bool readFailed = input != nullptr && std::ferror(input) != 0;
    const int readError = errno;
    if (input != nullptr && input != stdin) {
        std::fclose(input);
    }
    if (readFailed) {
        std::fprintf(stderr, "Cannot read file: %s\n", std::strerror(readError));
        releaseMessageBuffer();
        return ExitFailure;
    }
    const bool written = (plain ? writeReport() : std::fflush(stdout) == 0) && !std::ferror(stdout);
    releaseMessageBuffer();
    if (!written) {
        std::fprintf(stderr, "vexa-decode: cannot write the report\n");
        return ExitFailure;
    }
    return result == 0 ? 0 : ExitFailure;
}

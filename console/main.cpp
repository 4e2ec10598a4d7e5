// vexa-decode: decodes one modem log, standard input or the clipboard, and
// writes the decoded report to standard output exactly as the window program
// shows it, CR LF line ends included. --all, --json and --watch go further
// than the window; without them the output is the window's text.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "clipboard_watch.h"
#include "desktop_clipboard.h"
#include "message_buffer.h"
#include "options.h"
#include "report_output.h"
#include "streams.h"
#include "text_reader.h"

namespace {

constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;

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

// What the command line asks to decode.
struct Input {
    std::FILE* file = stdin;   // null: the clipboard
    std::string source = "-";  // its name in JSON documents
    bool opened = true;        // false: the named file cannot be opened
    int openError = 0;         // errno then
};

Input openInput(const ConsoleOptions& options) {
    Input input;
    if (options.clipboard || (!options.hasSource && isCharacterDevice(stdin))) {
        input.file = nullptr;  // nothing piped in: decode the clipboard
    } else if (options.hasSource && options.source != "-") {
        input.file = openLog(options.source);
        input.source = options.source;
        if (input.file == nullptr) {
            input.opened = false;
            input.openError = errno;
            return input;
        }
    }
    // A terminal named as "-" is the clipboard to the decoder as well.
    if (input.file == nullptr || isCharacterDevice(input.file)) {
        input.source = "clipboard";
        takeDesktopClipboard();
    }
    return input;
}

int refuseCommandLine(const std::string& problem) {
    if (!problem.empty()) {
        std::fprintf(stderr, "vexa-decode: %s\n", problem.c_str());
    }
    std::fprintf(stderr, "%s\n", UsageText);
    return ExitUsage;
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
    const MessageBufferOwner buffer;
    if (!buffer.created()) {
        std::fprintf(stderr, "vexa-decode: %s\n", std::strerror(errno));
        return ExitFailure;
    }
    // JSON gives the prefix a field of its own instead.
    setLinePrefix(options.json ? "" : linePrefixFor(options.prefix).c_str());
    if (options.watch) {
        return watchClipboard(options);
    }

    const Input input = openInput(options);
    if (!input.opened) {
        std::fprintf(stderr, "Cannot open file: %s\n", std::strerror(input.openError));
        return ExitFailure;
    }
    const Decoding decoding = decodeAndPrint(input.file, options, input.source);
    if (input.file != nullptr && input.file != stdin) {
        std::fclose(input.file);
    }
    if (decoding.readFailed) {
        std::fprintf(stderr, "Cannot read file: %s\n", std::strerror(decoding.readError));
        return ExitFailure;
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        std::fprintf(stderr, "vexa-decode: cannot write the report\n");
        return ExitFailure;
    }
    return decoding.result == 0 ? 0 : ExitFailure;
}

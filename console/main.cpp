// vexa-decode: decodes one modem log, or standard input, and writes the
// decoded report to standard output exactly as the window program shows it,
// CR LF line ends included.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <share.h>
#endif

#include "decoder.h"
#include "message_buffer.h"
#include "options.h"
#include "text_reader.h"

namespace {

constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;

int refuseCommandLine(const std::string& problem) {
    if (!problem.empty()) {
        std::fprintf(stderr, "vexa-decode: %s\n", problem.c_str());
    }
    std::fprintf(stderr, "%s\n", UsageText);
    return ExitUsage;
}

// Opened as the window program opens a log: text mode, others may read it
// but not write it meanwhile.
std::FILE* openLog(const std::string& path) {
#ifdef _WIN32
    return _fsopen(path.c_str(), "rt", _SH_DENYWR);
#else
    return std::fopen(path.c_str(), "r");
#endif
}

bool writeReport() {
#ifdef _WIN32
    // The buffer already holds CR LF; a text-mode stdout would double the CR.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    const std::size_t length = messageBufferLength();
    return std::fwrite(messageBufferText(), 1, length, stdout) == length &&
           std::fflush(stdout) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const ParsedOptions parsed = parseConsoleOptions(args);
    if (parsed.action == OptionsAction::Help) {
        std::printf("%s\n", UsageText);
        return 0;
    }
    if (parsed.action == OptionsAction::Usage) {
        return refuseCommandLine(parsed.problem);
    }
    const ConsoleOptions& options = parsed.options;

    std::FILE* input = stdin;
    if (options.hasSource && options.source != "-") {
        input = openLog(options.source);
        if (input == nullptr) {
            std::fprintf(stderr, "Cannot open file: %s\n", std::strerror(errno));
            return ExitFailure;
        }
    } else if (!options.hasSource && isCharacterDevice(stdin)) {
#ifdef _WIN32
        input = nullptr;  // nothing piped in: decode the clipboard
#else
        return refuseCommandLine("");
#endif
    }

    if (!createMessageBuffer()) {
        std::fprintf(stderr, "vexa-decode: %s\n", std::strerror(errno));
        return ExitFailure;
    }
    setLinePrefix(linePrefixFor(options).c_str());
    const int result = decodeReport(input);
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
    const bool written = writeReport();
    releaseMessageBuffer();
    if (!written) {
        std::fprintf(stderr, "vexa-decode: cannot write the report\n");
        return ExitFailure;
    }
    return result == 0 ? 0 : ExitFailure;
}

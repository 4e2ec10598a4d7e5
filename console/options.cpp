// Parsing the vexa-decode command line.

#include "options.h"

#include <cerrno>
#include <cstdlib>

const char UsageText[] =
    "Usage: vexa-decode [+prefix | -prefix string | -noprefix] [--all] [--json]\n"
    "                   [--clipboard | --watch] [file | -]";

const char HelpText[] =
    "Decodes the modem diagnostic report in a log file, standard input or the\n"
    "clipboard, and prints it as the vexa window shows it (CR LF line ends).\n"
    "\n"
    "  file           the modem log to read; \"-\" or a pipe: standard input;\n"
    "                 none and a terminal on standard input: the clipboard\n"
    "  +prefix        begin every output line with prefix and one space\n"
    "  -prefix text   the same, the next argument being the prefix\n"
    "  -noprefix      no prefix (the default)\n"
    "  --all          decode every report of the input, not only the first; each\n"
    "                 report is headed by \"Report N (line L)\", L being the input\n"
    "                 line where its first block stands\n"
    "  --json         print the report as a JSON document (with --all: an array\n"
    "                 of them); the prefix does not apply\n"
    "  --clipboard    decode the clipboard even when standard input is no terminal\n"
    "  --watch        decode the clipboard, then again each time it changes,\n"
    "                 until interrupted (Ctrl+C); with --json one document a line\n"
    "  -h, --help     show this text\n"
    "\n"
    "On Linux the clipboard is read with wl-paste (Wayland) or xclip or xsel (X11).\n"
    "Exit codes: 0 done, 1 the file or the clipboard could not be read, 2 a\n"
    "command line that is not accepted.";

namespace {

bool isHelpWord(const char* word) {
    return equalsIgnoringCase(word, "h") || equalsIgnoringCase(word, "help") ||
           equalsIgnoringCase(word, "?") || equalsIgnoringCase(word, "-help");
}

// The console's own options: "-word" or "--word".
bool isConsoleWord(const char* argument, const char* word, const char* name) {
    return argument[0] == '-' && (equalsIgnoringCase(word, name) ||
                                  (word[0] == '-' && equalsIgnoringCase(word + 1, name)));
}

bool parseCount(const std::string& text, long* count) {
    if (text.empty() || text[0] < '0' || text[0] > '9') {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || value <= 0) {
        return false;
    }
    *count = value;
    return true;
}

ParsedOptions refuse(const std::string& problem) {
    ParsedOptions parsed;
    parsed.action = OptionsAction::Usage;
    parsed.problem = problem;
    return parsed;
}

}  // namespace

ParsedOptions parseConsoleOptions(const std::vector<std::string>& args) {
    std::vector<const char*> arguments;
    for (const std::string& arg : args) {
        arguments.push_back(arg.c_str());
    }
    const int count = static_cast<int>(arguments.size());
    ParsedOptions parsed;
    ConsoleOptions& options = parsed.options;
    for (int i = 0; i < count; ++i) {
        const char* arg = arguments[i];
        const char* word = optionWord(arg);
        if (arg[0] == '?' || (word != nullptr && isHelpWord(word))) {
            parsed.action = OptionsAction::Help;
            return parsed;
        }
        switch (takePrefixOption(count, arguments.data(), &i, &options.prefix)) {
            case PrefixArgument::Taken:
                continue;
            case PrefixArgument::Repeated:
                return refuse("more than one prefix option");
            case PrefixArgument::TextMissing:
                return refuse(std::string(arg) + " needs a prefix");
            case PrefixArgument::Other:
                break;
        }
        if (word != nullptr && isConsoleWord(arg, word, "all")) {
            options.allReports = true;
        } else if (word != nullptr && isConsoleWord(arg, word, "json")) {
            options.json = true;
        } else if (word != nullptr && isConsoleWord(arg, word, "clipboard")) {
            options.clipboard = true;
        } else if (word != nullptr && isConsoleWord(arg, word, "watch")) {
            options.watch = true;
        } else if (word != nullptr && isConsoleWord(arg, word, "watch-count")) {
            if (i + 1 == count || !parseCount(arguments[i + 1], &options.watchCount)) {
                return refuse(std::string(arg) + " needs a count above 0");
            }
            ++i;
        } else if (word != nullptr && arg[0] == '-') {
            return refuse("unknown option " + std::string(arg));
        } else {
            if (options.hasSource) {
                return refuse("more than one file");
            }
            options.hasSource = true;
            options.source = arg;
        }
    }
    if ((options.watch || options.clipboard) && options.hasSource) {
        return refuse("the clipboard options take no file");
    }
    if (options.watchCount > 0 && !options.watch) {
        return refuse("--watch-count needs --watch");
    }
    return parsed;
}

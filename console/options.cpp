// Parsing the vexa-decode command line: a table of the console's own
// option words, then the checks of what goes together.

#include "options.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

// A day: longer waits are no answer, and the count of milliseconds stays small.
constexpr double LongestTimeout = 86400.0;

enum class Word {
    All,
    Json,
    JsonLines,
    Csv,
    Clipboard,
    Watch,
    WatchCount,
    Loose,
    LineFeeds,
    RequireReport,
    Summary,
    BySource,
    NoHeader,
    Port,
    Baud,
    Query,
    Timeout,
    Version,
    FilesFrom,
    NullNames,
    Recursive,
};

struct WordName {
    const char* name;
    Word word;
    bool takesValue;
};

const WordName WordNames[] = {
    {"all", Word::All, false},
    {"json", Word::Json, false},
    {"jsonl", Word::JsonLines, false},
    {"csv", Word::Csv, false},
    {"clipboard", Word::Clipboard, false},
    {"watch", Word::Watch, false},
    {"watch-count", Word::WatchCount, true},
    {"loose", Word::Loose, false},
    {"lf", Word::LineFeeds, false},
    {"require-report", Word::RequireReport, false},
    {"summary", Word::Summary, false},
    {"by-source", Word::BySource, false},
    {"no-header", Word::NoHeader, false},
    {"port", Word::Port, true},
    {"baud", Word::Baud, true},
    {"query", Word::Query, true},
    {"timeout", Word::Timeout, true},
    {"version", Word::Version, false},
    {"files-from", Word::FilesFrom, true},
    {"null", Word::NullNames, false},
    {"0", Word::NullNames, false},
    {"recursive", Word::Recursive, false},
    {"r", Word::Recursive, false},
};

// Only these ask for help: a name such as "?x.log" (what a name Windows
// could not convert arrives as) or "/H" is a file.
bool isHelpRequest(const char* arg) {
    return std::strcmp(arg, "-h") == 0 || std::strcmp(arg, "--help") == 0 ||
           std::strcmp(arg, "-?") == 0 || std::strcmp(arg, "/?") == 0;
}

// "-name", "--name", "-name=value" or "--name=value": the name, and the
// value after "=" if there is one.
struct ConsoleWord {
    std::string name;
    bool hasValue = false;
    std::string value;
};

bool splitConsoleWord(const char* argument, ConsoleWord* word) {
    if (argument[0] != '-' || argument[1] == '\0') {
        return false;
    }
    const char* name = argument + (argument[1] == '-' ? 2 : 1);
    const char* equals = std::strchr(name, '=');
    word->name = equals != nullptr ? std::string(name, static_cast<std::size_t>(equals - name))
                                   : std::string(name);
    word->hasValue = equals != nullptr;
    word->value = equals != nullptr ? std::string(equals + 1) : std::string();
    return !word->name.empty();
}

const WordName* findWord(const std::string& name) {
    for (const WordName& entry : WordNames) {
        if (equalsIgnoringCase(name.c_str(), entry.name)) {
            return &entry;
        }
    }
    return nullptr;
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

bool parseBaudRate(const std::string& text, long* rate) {
    long value = 0;
    if (!parseCount(text, &value)) {
        return false;
    }
    for (const long known : BaudRates) {
        if (known == value) {
            *rate = value;
            return true;
        }
    }
    return false;
}

bool parseSeconds(const std::string& text, double* seconds) {
    if (text.empty() || !((text[0] >= '0' && text[0] <= '9') || text[0] == '.')) {
        return false;
    }
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (*end != '\0' || !std::isfinite(value) || value <= 0 || value > LongestTimeout) {
        return false;
    }
    *seconds = value;
    return true;
}

std::string baudRateList() {
    std::string list;
    for (const long rate : BaudRates) {
        list += (list.empty() ? "" : ", ") + std::to_string(rate);
    }
    return list;
}

ParsedOptions refuse(const std::string& problem) {
    ParsedOptions parsed;
    parsed.action = OptionsAction::Usage;
    parsed.problem = problem;
    return parsed;
}

// Takes a word's value into options; returns the problem, or "" when fine.
std::string takeValue(Word word, const std::string& spelled, const std::string& value,
                      ConsoleOptions& options) {
    switch (word) {
        case Word::WatchCount:
            return parseCount(value, &options.watchCount) ? "" : spelled + " needs a count above 0";
        case Word::Port:
            options.port = value;
            return value.empty() ? spelled + " needs a device" : "";
        case Word::Baud:
            return parseBaudRate(value, &options.baudRate)
                       ? ""
                       : spelled + " needs one of the rates " + baudRateList();
        case Word::Query:
            options.hasQuery = true;
            options.query = value;
            return value.empty() ? spelled + " needs a command to send" : "";
        case Word::FilesFrom:
            options.filesFrom = value;
            return value.empty() ? spelled + " needs a file of names (\"-\": standard input)" : "";
        case Word::Timeout:
            return parseSeconds(value, &options.timeout)
                       ? ""
                       : spelled + " needs a number of seconds above 0, at most a day";
        default:
            return "";
    }
}

// Sets a word that takes no value; returns false for --version.
bool takeFlag(Word word, ConsoleOptions& options, int* forms) {
    switch (word) {
        case Word::All:
            options.allReports = true;
            break;
        case Word::Json:
        case Word::JsonLines:
        case Word::Csv: {
            const OutputForm form = word == Word::Json        ? OutputForm::Json
                                    : word == Word::JsonLines ? OutputForm::JsonLines
                                                              : OutputForm::Csv;
            *forms += options.form != form ? 1 : 0;
            options.form = form;
            break;
        }
        case Word::Clipboard:
            options.clipboard = true;
            break;
        case Word::Watch:
            options.watch = true;
            break;
        case Word::Loose:
            options.loose = true;
            break;
        case Word::LineFeeds:
            options.lineFeeds = true;
            break;
        case Word::RequireReport:
            options.requireReport = true;
            break;
        case Word::Summary:
            options.summary = true;
            options.allReports = true;
            break;
        case Word::BySource:
            options.bySource = true;
            break;
        case Word::NoHeader:
            options.noHeader = true;
            break;
        case Word::NullNames:
            options.nullNames = true;
            break;
        case Word::Recursive:
            options.recursive = true;
            break;
        case Word::Version:
            return false;
        default:
            break;
    }
    return true;
}

// What goes together, once the whole line is read.
std::string conflictIn(const ConsoleOptions& options, bool baudGiven, bool timeoutGiven) {
    const bool clipboardOnly = options.watch || options.clipboard;
    const bool files = !options.sources.empty() || !options.filesFrom.empty();
    if (clipboardOnly && files) {
        return "--clipboard and --watch read the clipboard and take no file";
    }
    if (!options.port.empty() && files) {
        return "--port reads its port and takes no file";
    }
    if (options.nullNames && options.filesFrom.empty()) {
        return "--null needs --files-from";
    }
    if (options.filesFrom == "-" &&
        std::find(options.sources.begin(), options.sources.end(), "-") != options.sources.end()) {
        return "standard input cannot hold both the names (--files-from -) and a log (-)";
    }
    if (!options.port.empty() && clipboardOnly) {
        return "--port does not go with --clipboard or --watch";
    }
    if (options.hasQuery && options.port.empty()) {
        return "--query needs --port";
    }
    if (baudGiven && options.port.empty()) {
        return "--baud needs --port";
    }
    if (timeoutGiven && !options.hasQuery) {
        return "--timeout needs --query";
    }
    if (options.watchCount > 0 && !options.watch) {
        return "--watch-count needs --watch";
    }
    if (options.form == OutputForm::Csv && options.prefix.choice == PrefixChoice::Text) {
        return "a prefix does not go with --csv (its rows name their file)";
    }
    if (options.noHeader && options.form != OutputForm::Csv) {
        return "--no-header goes with --csv only";
    }
    if (options.requireReport && options.watch) {
        return "--require-report does not go with --watch, which never ends on its own";
    }
    if (options.bySource && !options.summary) {
        return "--by-source needs --summary";
    }
    if (options.summary &&
        (options.form == OutputForm::JsonLines || options.form == OutputForm::Csv)) {
        return "--summary is written as text or with --json";
    }
    if (options.summary && (options.watch || options.prefix.choice == PrefixChoice::Text)) {
        return "--summary does not go with --watch or a prefix";
    }
    return "";
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
    bool optionsEnded = false;
    bool baudGiven = false;
    bool timeoutGiven = false;
    int forms = 0;  // changes of the output form: two forms make one too many
    for (int i = 0; i < count; ++i) {
        const char* arg = arguments[i];
        if (optionsEnded) {
            options.sources.push_back(arg);
            continue;
        }
        if (std::strcmp(arg, "--") == 0) {
            optionsEnded = true;
            continue;
        }
        if (isHelpRequest(arg)) {
            parsed.action = OptionsAction::Help;
            return parsed;
        }
        switch (takePrefixOption(count, arguments.data(), &i, &options.prefix)) {
            case PrefixArgument::Taken:
                if (arg[0] == '+') {
                    parsed.plusArgument = arg;
                }
                continue;
            case PrefixArgument::Repeated:
                return refuse("more than one prefix option");
            case PrefixArgument::TextMissing:
                return refuse(std::string(arg) + " needs a prefix");
            case PrefixArgument::Other:
                break;
        }
        ConsoleWord spelled;
        if (!splitConsoleWord(arg, &spelled)) {
            options.sources.push_back(arg);  // a file, "-", or a "/" path
            continue;
        }
        const WordName* known = findWord(spelled.name);
        // The option as written, without its value.
        const std::string name = std::string(arg).substr(0, std::strcspn(arg, "="));
        if (known == nullptr) {
            return refuse("unknown option " + name);
        }
        if (!known->takesValue) {
            if (spelled.hasValue) {
                return refuse(name + " takes no value");
            }
            if (!takeFlag(known->word, options, &forms)) {
                parsed.action = OptionsAction::Version;
                return parsed;
            }
            continue;
        }
        std::string value = spelled.value;
        if (!spelled.hasValue) {
            if (i + 1 == count) {
                value.clear();
            } else {
                value = arguments[++i];
            }
        }
        const std::string problem = takeValue(known->word, name, value, options);
        if (!problem.empty()) {
            return refuse(problem);
        }
        baudGiven = baudGiven || known->word == Word::Baud;
        timeoutGiven = timeoutGiven || known->word == Word::Timeout;
    }
    if (forms > 1) {
        return refuse("--json, --jsonl and --csv exclude each other");
    }
    const std::string conflict = conflictIn(options, baudGiven, timeoutGiven);
    if (!conflict.empty()) {
        return refuse(conflict);
    }
    return parsed;
}

std::vector<std::string> consoleOptionWords() {
    // Those looked at before the table: help, the prefix group, "--".
    std::vector<std::string> words = {"-h", "--help", "-prefix", "-noprefix", "--"};
    for (const WordName& entry : WordNames) {
        words.push_back((entry.name[1] == '\0' ? "-" : "--") + std::string(entry.name));
    }
    return words;
}

// Parsing the vexa-decode command line.

#include "options.h"

#include <cctype>

const char UsageText[] = "Usage: vexa-decode [+prefix | -prefix string | -noprefix] [file | -]";

namespace {

std::string lowerCase(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

bool isHelpWord(const std::string& word) {
    return word == "h" || word == "help" || word == "?" || word == "-help";
}

ParsedOptions refuse(const std::string& problem) {
    ParsedOptions parsed;
    parsed.action = OptionsAction::Usage;
    parsed.problem = problem;
    return parsed;
}

}  // namespace

ParsedOptions parseConsoleOptions(const std::vector<std::string>& args) {
    ParsedOptions parsed;
    ConsoleOptions& options = parsed.options;
    bool prefixGroupUsed = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool isOption = arg.size() > 1 && (arg[0] == '-' || arg[0] == '/');
        const std::string word = isOption ? lowerCase(arg.substr(1)) : std::string();
        if (!arg.empty() && arg[0] == '?') {
            parsed.action = OptionsAction::Help;
            return parsed;
        }
        if (isOption && isHelpWord(word)) {
            parsed.action = OptionsAction::Help;
            return parsed;
        }
        if (!arg.empty() && arg[0] == '+') {
            if (prefixGroupUsed) {
                return refuse("more than one prefix option");
            }
            prefixGroupUsed = true;
            options.hasPrefix = true;
            options.prefix = arg.substr(1);
        } else if (isOption && word == "prefix") {
            if (prefixGroupUsed) {
                return refuse("more than one prefix option");
            }
            if (i + 1 == args.size()) {
                return refuse(arg + " needs a prefix");
            }
            prefixGroupUsed = true;
            options.hasPrefix = true;
            options.prefix = args[++i];
        } else if (isOption && word == "noprefix") {
            if (prefixGroupUsed) {
                return refuse("more than one prefix option");
            }
            prefixGroupUsed = true;
            options.hasPrefix = false;
            options.prefix.clear();
        } else if (isOption && arg[0] == '-') {
            return refuse("unknown option " + arg);
        } else {
            if (options.hasSource) {
                return refuse("more than one file");
            }
            options.hasSource = true;
            options.source = arg;
        }
    }
    return parsed;
}

std::string linePrefixFor(const ConsoleOptions& options) {
    return options.hasPrefix ? options.prefix + " " : std::string();
}

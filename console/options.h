// The command line of vexa-decode:
//   vexa-decode [+prefix | -prefix string | -noprefix] [--all] [--json]
//               [--clipboard | --watch] [file | -]
//
// The prefix options are the window program's (prefix_options.h). "-" names
// standard input. A "/" argument that is no option word is a file name (an
// absolute path elsewhere than Windows); an unknown "-" option is refused.
// The console's own options take "-" or "--" only, so that "/all" stays a
// path, and are compared without regard to case.
// --watch-count N (not in the help) ends a watch after N decodings, for tests.
#pragma once

#include <string>
#include <vector>

#include "prefix_options.h"

extern const char UsageText[];
// The usage line and what every option does, for -h.
extern const char HelpText[];

enum class OptionsAction { Decode, Help, Usage };

struct ConsoleOptions {
    PrefixOption prefix;
    bool hasSource = false;  // a file or "-" was named
    std::string source;
    bool allReports = false;  // --all: every report, not only the first
    bool json = false;        // --json
    bool clipboard = false;   // --clipboard: the clipboard, whatever stdin is
    bool watch = false;       // --watch: decode the clipboard on every change
    long watchCount = 0;      // decodings before a watch ends; 0: until interrupted
};

struct ParsedOptions {
    OptionsAction action = OptionsAction::Decode;
    ConsoleOptions options;
    std::string problem;  // why the line was refused (Usage only)
};

ParsedOptions parseConsoleOptions(const std::vector<std::string>& args);

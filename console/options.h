// The command line of vexa-decode:
//   vexa-decode [+prefix | -prefix string | -noprefix] [file | -]
//
// The prefix options are the window program's: option words in any case,
// introduced by "-" or "/", the prefix group usable once. "-" names standard
// input. A "/" argument that is no option word is a file name (an absolute
// path elsewhere than Windows); an unknown "-" option is refused.
#pragma once

#include <string>
#include <vector>

extern const char UsageText[];

enum class OptionsAction { Decode, Help, Usage };

struct ConsoleOptions {
    bool hasPrefix = false;  // a prefix is in force, possibly the empty one
    std::string prefix;
    bool hasSource = false;  // a file or "-" was named
    std::string source;
};

struct ParsedOptions {
    OptionsAction action = OptionsAction::Decode;
    ConsoleOptions options;
    std::string problem;  // why the line was refused (Usage only)
};

ParsedOptions parseConsoleOptions(const std::vector<std::string>& args);

// The line prefix the message buffer gets: the prefix and one space when a
// prefix is in force, else the empty text.
std::string linePrefixFor(const ConsoleOptions& options);

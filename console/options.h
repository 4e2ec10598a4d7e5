// The command line of vexa-decode (UsageText shows it whole).
//
// The prefix options are the window program's (prefix_options.h). "-" names
// standard input. A "/" argument that is no option word is a file name (an
// absolute path elsewhere than Windows); an unknown "-" option is refused,
// and "--" makes every later argument a file name. The console's own
// options take "-" or "--" only, so that "/all" stays a path, and are
// compared without regard to case; those with a value take it as the next
// argument or after "=". A refused command line has one problem, said in a
// sentence of its own.
#pragma once

#include <string>
#include <vector>

#include "baud_rates.h"
#include "prefix_options.h"

extern const char UsageText[];
// The usage and what every option does, for --help.
extern const char HelpText[];
// The program's name and version, for --version.
extern const char VersionText[];

enum class OptionsAction { Decode, Help, Version, Usage };

enum class OutputForm {
    Text,       // the window's text; with --all every report under a heading
    Json,       // --json: one document, or an array of them
    JsonLines,  // --jsonl: one compact document a line
    Csv,        // --csv: one row a report
};

constexpr double DefaultQueryTimeout = 10.0;

struct ConsoleOptions {
    PrefixOption prefix;
    std::vector<std::string> sources;  // files and "-", in order; none named: empty
    bool allReports = false;           // --all: every report, not only the first
    OutputForm form = OutputForm::Text;
    bool clipboard = false;      // --clipboard: the clipboard, whatever stdin is
    bool watch = false;          // --watch: decode the clipboard on every change
    long watchCount = 0;         // decodings before a watch ends; 0: until interrupted
    bool loose = false;          // --loose: markers anywhere in a line
    bool lineFeeds = false;      // --lf: LF line ends instead of CR LF
    bool requireReport = false;  // --require-report: exit 3 for an input without one
    bool summary = false;        // --summary: one summary of every report (sets allReports)
    bool bySource = false;       // --by-source: with it, a row per input
    bool noHeader = false;       // --no-header: CSV rows without the header row
    std::string port;            // --port DEV; empty: none
    long baudRate = DefaultBaudRate;
    bool hasQuery = false;  // --query TEXT
    std::string query;
    double timeout = DefaultQueryTimeout;  // seconds, for --query
    // --files-from FILE ("-": standard input): more names, one a line, or
    // NUL-separated with --null (-0); read after the sources, one by one.
    std::string filesFrom;
    bool nullNames = false;
    bool recursive = false;  // -r, --recursive: a directory's logs, by path
};

struct ParsedOptions {
    OptionsAction action = OptionsAction::Decode;
    ConsoleOptions options;
    std::string problem;  // why the line was refused (Usage only)
    // The "+text" argument taken as the prefix option, as written; empty
    // without one. It may be a file's name as well (main warns).
    std::string plusArgument;
};

ParsedOptions parseConsoleOptions(const std::vector<std::string>& args);

// Every option word the parser takes, as written with its dashes ("--all",
// "-0", "-prefix", "--"): what the help, the manual page and the completion
// must offer, no more and no less.
std::vector<std::string> consoleOptionWords();

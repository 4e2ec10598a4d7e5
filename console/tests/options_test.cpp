#include "options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct OptionsCase {
    const char* name;
    std::vector<std::string> args;
    OptionsAction action;
    const char* linePrefix;            // for Decode
    std::vector<std::string> sources;  // for Decode
};

const OptionsAction Decode = OptionsAction::Decode;
const OptionsAction Help = OptionsAction::Help;
const OptionsAction Usage = OptionsAction::Usage;
const OptionsAction Version = OptionsAction::Version;

const OptionsCase Cases[] = {
    {"nothing", {}, Decode, "", {}},
    {"a file", {"call.log"}, Decode, "", {"call.log"}},
    {"standard input", {"-"}, Decode, "", {"-"}},
    {"absolute path", {"/home/user/call.log"}, Decode, "", {"/home/user/call.log"}},
    {"empty argument is a file name", {""}, Decode, "", {""}},
    {"plus prefix", {"+xx", "a.log"}, Decode, "xx ", {"a.log"}},
    {"bare plus: empty prefix", {"+"}, Decode, " ", {}},
    {"plus with '>'", {"+>"}, Decode, "> ", {}},
    {"-prefix with a spaced text", {"-prefix", "> "}, Decode, ">  ", {}},
    {"-prefix empty", {"-prefix", ""}, Decode, " ", {}},
    {"-prefix takes an option-looking text", {"-prefix", "-noprefix"}, Decode, "-noprefix ", {}},
    {"/prefix", {"/prefix", "#", "a.log"}, Decode, "# ", {"a.log"}},
    {"case does not matter", {"-PREFIX", "#"}, Decode, "# ", {}},
    {"-noprefix", {"-noprefix", "a.log"}, Decode, "", {"a.log"}},
    {"/NoPrefix", {"/NoPrefix"}, Decode, "", {}},
    {"file before options", {"a.log", "+p"}, Decode, "p ", {"a.log"}},
    {"several files in order", {"b.log", "a.log", "-"}, Decode, "", {"b.log", "a.log", "-"}},
    {"-- makes the rest files",
     {"+m", "--", "+4930555123.log", "-x", "--", "-"},
     Decode,
     "m ",
     {"+4930555123.log", "-x", "--", "-"}},
    {"-prefix last", {"-prefix"}, Usage, nullptr, {}},
    {"two prefix options", {"+a", "-noprefix"}, Usage, nullptr, {}},
    {"two plus options", {"+a", "+b"}, Usage, nullptr, {}},
    {"-prefix after plus", {"+a", "-prefix", "b"}, Usage, nullptr, {}},
    {"unknown option", {"-x"}, Usage, nullptr, {}},
    {"viewer options belong to the window", {"-clipview"}, Usage, nullptr, {}},
    {"-h", {"-h"}, Help, nullptr, {}},
    {"--null without a list", {"--null", "a.log"}, Usage, nullptr, {}},
    {"names and a log both on standard input", {"--files-from", "-", "-"}, Usage, nullptr, {}},
    {"--files-from with --port", {"--files-from", "l", "--port", "COM1"}, Usage, nullptr, {}},
    {"-help is no help", {"a.log", "-help"}, Usage, nullptr, {}},
    {"--help", {"--help"}, Help, nullptr, {}},
    {"/?", {"/?"}, Help, nullptr, {}},
    {"/H is a file", {"/H"}, Decode, "", {"/H"}},
    {"-?", {"-?"}, Help, nullptr, {}},
    {"a name Windows could not convert is a file", {"???.log"}, Decode, "", {"???.log"}},
    {"help after a refused option is not reached", {"+a", "+b", "-h"}, Usage, nullptr, {}},
    {"--version", {"a.log", "--version"}, Version, nullptr, {}},
    {"help after -- is a file", {"--", "-h"}, Decode, "", {"-h"}},
};

TEST(ConsoleOptions, Table) {
    for (const OptionsCase& c : Cases) {
        SCOPED_TRACE(c.name);
        const ParsedOptions parsed = parseConsoleOptions(c.args);
        ASSERT_EQ(c.action, parsed.action) << parsed.problem;
        if (c.action == Usage) {
            EXPECT_FALSE(parsed.problem.empty());
        }
        if (c.action != Decode) {
            continue;
        }
        EXPECT_EQ(c.linePrefix, linePrefixFor(parsed.options.prefix));
        EXPECT_EQ(c.sources, parsed.options.sources);
    }
}

// The console's own settings in one line, those that differ from the
// defaults: a case reads as what it expects.
std::string settingsOf(const ConsoleOptions& o) {
    static const char* const Forms[] = {"", " json", " jsonl", " csv"};
    std::string text =
        std::string(o.allReports ? " all" : "") + Forms[static_cast<int>(o.form)] +
        (o.clipboard ? " clipboard" : "") + (o.watch ? " watch" : "") +
        (o.watchCount > 0 ? " count=" + std::to_string(o.watchCount) : "") +
        (o.loose ? " loose" : "") + (o.lineFeeds ? " lf" : "") +
        (o.requireReport ? " require" : "") + (o.summary ? " summary" : "") +
        (o.bySource ? " by-source" : "") + (o.port.empty() ? "" : " port=" + o.port) +
        (o.baudRate != DefaultBaudRate ? " baud=" + std::to_string(o.baudRate) : "") +
        (o.hasQuery ? " query=" + o.query : "") +
        (o.timeout != DefaultQueryTimeout ? " timeout=" + std::to_string(o.timeout) : "") +
        (o.filesFrom.empty() ? "" : " files-from=" + o.filesFrom) + (o.nullNames ? " null" : "") +
        (o.recursive ? " recursive" : "");
    return text.empty() ? "" : text.substr(1);
}

struct ConsoleCase {
    const char* name;
    std::vector<std::string> args;
    const char* settings;
};

const ConsoleCase ConsoleCases[] = {
    {"none of them", {"a.log"}, ""},
    {"--all", {"--all", "a.log"}, "all"},
    {"-all", {"-all"}, "all"},
    {"--json after the file", {"a.log", "--json"}, "json"},
    {"words in any case", {"--JSON", "--All"}, "all json"},
    {"--jsonl", {"--jsonl", "--watch"}, "jsonl watch"},
    {"--csv", {"--csv", "--all", "a.log", "b.log"}, "all csv"},
    {"the same form twice", {"--csv", "--csv"}, "csv"},
    {"--clipboard", {"--clipboard", "+m1"}, "clipboard"},
    {"--watch with --json", {"--watch", "--json"}, "json watch"},
    {"--watch-count", {"--watch", "--watch-count", "3"}, "watch count=3"},
    {"--loose, --lf, --require-report",
     {"--loose", "--lf", "--require-report"},
     "loose lf require"},
    {"--port alone", {"--port", "/dev/ttyUSB0"}, "port=/dev/ttyUSB0"},
    {"a port query",
     {"--port", "COM3", "--baud", "9600", "--query", "AT*VXD", "--timeout", "2.5"},
     "port=COM3 baud=9600 query=AT*VXD timeout=2.500000"},
    {"values after '='",
     {"--port=COM1", "--query=AT*VXD", "--timeout=.5"},
     "port=COM1 query=AT*VXD timeout=0.500000"},
    {"a query may hold spaces and '='",
     {"--port", "COM1", "--query", "AT S7=0"},
     "port=COM1 query=AT S7=0"},
    {"repeated options are harmless", {"--all", "--all"}, "all"},
    {"--summary reads every report", {"--summary", "a.log"}, "all summary"},
    {"--summary as JSON, by source",
     {"--by-source", "--json", "--summary"},
     "all json summary by-source"},
    {"names from standard input, NUL-separated",
     {"--files-from", "-", "-0", "--summary"},
     "all summary files-from=- null"},
    {"-r and --null", {"-r", "--files-from=list", "--null"}, "files-from=list null recursive"},
    {"--recursive", {"--recursive", "logs"}, "recursive"},
};

TEST(ConsoleOptions, ConsoleOnlyOptions) {
    for (const ConsoleCase& c : ConsoleCases) {
        SCOPED_TRACE(c.name);
        const ParsedOptions parsed = parseConsoleOptions(c.args);
        ASSERT_EQ(Decode, parsed.action) << parsed.problem;
        EXPECT_EQ(c.settings, settingsOf(parsed.options));
    }
}

struct RefusedCase {
    const char* name;
    std::vector<std::string> args;
    const char* problem;  // the message names what is wrong
};

const RefusedCase RefusedCases[] = {
    {"--watch with a file", {"--watch", "a.log"}, "take no file"},
    {"--clipboard with standard input", {"-", "--clipboard"}, "take no file"},
    {"--watch-count without --watch", {"--watch-count", "2"}, "--watch-count needs --watch"},
    {"--watch-count without a count", {"--watch", "--watch-count"}, "--watch-count needs a count"},
    {"--watch-count of zero", {"--watch", "--watch-count", "0"}, "--watch-count needs a count"},
    {"--watch-count with a sign", {"--watch", "--watch-count", "-2"}, "needs a count"},
    {"--watch-count with trailing text", {"--watch", "--watch-count", "2x"}, "needs a count"},
    {"--watch-count beyond a long",
     {"--watch", "--watch-count", "99999999999999999999999"},
     "needs a count"},
    {"a misspelt option", {"--jsn"}, "unknown option --jsn"},
    {"a misspelt option with a value", {"--bod=9600"}, "unknown option --bod"},
    {"a flag with a value", {"--all=yes"}, "--all takes no value"},
    {"--json and --jsonl", {"--json", "--jsonl"}, "exclude each other"},
    {"--csv and --json", {"--csv", "a.log", "--json"}, "exclude each other"},
    {"--port without a device", {"--port"}, "--port needs a device"},
    {"--port with an empty device", {"--port="}, "--port needs a device"},
    {"--port with a file", {"--port", "COM1", "a.log"}, "takes no file"},
    {"--port with --watch", {"--port", "COM1", "--watch"}, "--port does not go with"},
    {"--baud without a rate", {"--port", "COM1", "--baud"}, "--baud needs one of the rates"},
    {"--baud at an odd rate", {"--port", "COM1", "--baud", "12345"}, "300, 1200"},
    {"--baud in words", {"--port", "COM1", "--baud", "fast"}, "--baud needs"},
    {"--baud without --port", {"--baud", "9600"}, "--baud needs --port"},
    {"--query without a command", {"--port", "COM1", "--query"}, "--query needs a command"},
    {"--query empty", {"--port", "COM1", "--query", ""}, "--query needs a command"},
    {"--query without --port", {"--query", "AT*VXD"}, "--query needs --port"},
    {"--timeout without seconds", {"--port", "COM1", "--query", "AT", "--timeout"}, "seconds"},
    {"--timeout of zero", {"--port", "COM1", "--query", "AT", "--timeout", "0"}, "above 0"},
    {"--timeout negative", {"--port", "COM1", "--query", "AT", "--timeout", "-1"}, "above 0"},
    {"--timeout not a number", {"--port", "COM1", "--query", "AT", "--timeout", "nan"}, "above 0"},
    {"--timeout beyond a day", {"--port", "COM1", "--query", "AT", "--timeout", "1e9"}, "a day"},
    {"--timeout without --query", {"--port", "COM1", "--timeout", "5"}, "--timeout needs --query"},
    {"a prefix with --csv", {"+m1", "--csv"}, "prefix does not go with --csv"},
    {"--require-report with --watch", {"--watch", "--require-report"}, "--require-report"},
    {"--by-source alone", {"--by-source", "a.log"}, "--by-source needs --summary"},
    {"--summary as CSV", {"--summary", "--csv"}, "--summary is written as text or with --json"},
    {"--summary as JSON Lines", {"--jsonl", "--summary"}, "text or with --json"},
    {"--summary of a watch", {"--summary", "--watch"}, "--summary does not go with --watch"},
    {"--summary with a prefix", {"+m1", "--summary"}, "or a prefix"},
};

TEST(ConsoleOptions, RefusedCommandLines) {
    for (const RefusedCase& c : RefusedCases) {
        SCOPED_TRACE(c.name);
        const ParsedOptions parsed = parseConsoleOptions(c.args);
        EXPECT_EQ(Usage, parsed.action);
        EXPECT_NE(std::string::npos, parsed.problem.find(c.problem)) << parsed.problem;
    }
}

// Console options are "-" words only: a "/" argument stays a path.
TEST(ConsoleOptions, SlashWordIsAFile) {
    const ParsedOptions parsed = parseConsoleOptions({"/all"});
    ASSERT_EQ(Decode, parsed.action);
    EXPECT_FALSE(parsed.options.allReports);
    EXPECT_EQ(std::vector<std::string>{"/all"}, parsed.options.sources);
}

}  // namespace

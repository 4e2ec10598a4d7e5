#include "options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct OptionsCase {
    const char* name;
    std::vector<std::string> args;
    OptionsAction action;
    const char* linePrefix;  // for Decode
    const char* source;      // for Decode; null: none named
};

const OptionsAction Decode = OptionsAction::Decode;
const OptionsAction Help = OptionsAction::Help;
const OptionsAction Usage = OptionsAction::Usage;

const OptionsCase Cases[] = {
    {"nothing", {}, Decode, "", nullptr},
    {"a file", {"call.log"}, Decode, "", "call.log"},
    {"standard input", {"-"}, Decode, "", "-"},
    {"absolute path", {"/home/user/call.log"}, Decode, "", "/home/user/call.log"},
    {"empty argument is a file name", {""}, Decode, "", ""},
    {"plus prefix", {"+xx", "a.log"}, Decode, "xx ", "a.log"},
    {"bare plus: empty prefix", {"+"}, Decode, " ", nullptr},
    {"plus with '>'", {"+>"}, Decode, "> ", nullptr},
    {"-prefix with a spaced text", {"-prefix", "> "}, Decode, ">  ", nullptr},
    {"-prefix empty", {"-prefix", ""}, Decode, " ", nullptr},
    {"-prefix takes an option-looking text",
     {"-prefix", "-noprefix"},
     Decode,
     "-noprefix ",
     nullptr},
    {"/prefix", {"/prefix", "#", "a.log"}, Decode, "# ", "a.log"},
    {"case does not matter", {"-PREFIX", "#"}, Decode, "# ", nullptr},
    {"-noprefix", {"-noprefix", "a.log"}, Decode, "", "a.log"},
    {"/NoPrefix", {"/NoPrefix"}, Decode, "", nullptr},
    {"file before options", {"a.log", "+p"}, Decode, "p ", "a.log"},
    {"-prefix last", {"-prefix"}, Usage, nullptr, nullptr},
    {"two prefix options", {"+a", "-noprefix"}, Usage, nullptr, nullptr},
    {"two plus options", {"+a", "+b"}, Usage, nullptr, nullptr},
    {"-prefix after plus", {"+a", "-prefix", "b"}, Usage, nullptr, nullptr},
    {"two files", {"a.log", "b.log"}, Usage, nullptr, nullptr},
    {"file and standard input", {"a.log", "-"}, Usage, nullptr, nullptr},
    {"unknown option", {"-x"}, Usage, nullptr, nullptr},
    {"viewer options belong to the window", {"-clipview"}, Usage, nullptr, nullptr},
    {"-h", {"-h"}, Help, nullptr, nullptr},
    {"-help", {"a.log", "-help"}, Help, nullptr, nullptr},
    {"--help", {"--help"}, Help, nullptr, nullptr},
    {"/?", {"/?"}, Help, nullptr, nullptr},
    {"/H", {"/H"}, Help, nullptr, nullptr},
    {"-?", {"-?"}, Help, nullptr, nullptr},
    {"question mark first", {"?x"}, Help, nullptr, nullptr},
    {"help after a refused option is not reached", {"+a", "+b", "-h"}, Usage, nullptr, nullptr},
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
        EXPECT_EQ(c.source != nullptr, parsed.options.hasSource);
        if (c.source != nullptr) {
            EXPECT_EQ(c.source, parsed.options.source);
        }
    }
}

struct ConsoleCase {
    const char* name;
    std::vector<std::string> args;
    bool allReports;
    bool json;
    bool clipboard;
    bool watch;
    long watchCount;
};

const ConsoleCase ConsoleCases[] = {
    {"none of them", {"a.log"}, false, false, false, false, 0},
    {"--all", {"--all", "a.log"}, true, false, false, false, 0},
    {"-all", {"-all"}, true, false, false, false, 0},
    {"--json after the file", {"a.log", "--json"}, false, true, false, false, 0},
    {"words in any case", {"--JSON", "--All"}, true, true, false, false, 0},
    {"--clipboard", {"--clipboard", "+m1"}, false, false, true, false, 0},
    {"--watch with --json", {"--watch", "--json"}, false, true, false, true, 0},
    {"--watch-count", {"--watch", "--watch-count", "3"}, false, false, false, true, 3},
    {"repeated options are harmless", {"--all", "--all"}, true, false, false, false, 0},
};

TEST(ConsoleOptions, ConsoleOnlyOptions) {
    for (const ConsoleCase& c : ConsoleCases) {
        SCOPED_TRACE(c.name);
        const ParsedOptions parsed = parseConsoleOptions(c.args);
        ASSERT_EQ(Decode, parsed.action) << parsed.problem;
        EXPECT_EQ(c.allReports, parsed.options.allReports);
        EXPECT_EQ(c.json, parsed.options.json);
        EXPECT_EQ(c.clipboard, parsed.options.clipboard);
        EXPECT_EQ(c.watch, parsed.options.watch);
        EXPECT_EQ(c.watchCount, parsed.options.watchCount);
    }
}

struct RefusedCase {
    const char* name;
    std::vector<std::string> args;
};

const RefusedCase RefusedCases[] = {
    {"--watch with a file", {"--watch", "a.log"}},
    {"--clipboard with standard input", {"-", "--clipboard"}},
    {"--watch-count without --watch", {"--watch-count", "2"}},
    {"--watch-count without a count", {"--watch", "--watch-count"}},
    {"--watch-count of zero", {"--watch", "--watch-count", "0"}},
    {"--watch-count with a sign", {"--watch", "--watch-count", "-2"}},
    {"--watch-count with trailing text", {"--watch", "--watch-count", "2x"}},
    {"--watch-count beyond a long", {"--watch", "--watch-count", "99999999999999999999999"}},
    {"a misspelt option", {"--jsn"}},
};

TEST(ConsoleOptions, RefusedCombinations) {
    for (const RefusedCase& c : RefusedCases) {
        SCOPED_TRACE(c.name);
        const ParsedOptions parsed = parseConsoleOptions(c.args);
        EXPECT_EQ(Usage, parsed.action);
        EXPECT_FALSE(parsed.problem.empty());
    }
}

// Console options are "-" words only: a "/" argument stays a path.
TEST(ConsoleOptions, SlashWordIsAFile) {
    const ParsedOptions parsed = parseConsoleOptions({"/all"});
    ASSERT_EQ(Decode, parsed.action);
    EXPECT_FALSE(parsed.options.allReports);
    EXPECT_EQ("/all", parsed.options.source);
}

}  // namespace

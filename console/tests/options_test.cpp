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
        EXPECT_EQ(c.linePrefix, linePrefixFor(parsed.options));
        EXPECT_EQ(c.source != nullptr, parsed.options.hasSource);
        if (c.source != nullptr) {
            EXPECT_EQ(c.source, parsed.options.source);
        }
    }
}

}  // namespace

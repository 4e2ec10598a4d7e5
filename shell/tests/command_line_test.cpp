// Command-line splitting and option parsing.
#include "command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> split(const char* text) {
    int count = -1;
    std::size_t bytes = 0;
    splitCommandLine(text, nullptr, nullptr, &count, &bytes);
    std::vector<char*> list(static_cast<std::size_t>(count) + 1, nullptr);
    // One byte more than asked for, to catch a fill pass writing past it.
    std::vector<char> texts(bytes + 1, '#');
    int filled = -1;
    std::size_t filledBytes = 0;
    splitCommandLine(text, list.data(), texts.data(), &filled, &filledBytes);
    EXPECT_EQ(filled, count);
    EXPECT_EQ(filledBytes, bytes);
    EXPECT_EQ(texts[bytes], '#');
    return std::vector<std::string>(list.begin(), list.begin() + filled);
}

TEST(ArgumentText, FollowsTheProgramsNameAndItsBlanks) {
    struct Case {
        const char* commandLine;
        const char* expected;
    };
    const Case cases[] = {
        {"vexa.exe", ""},
        {"vexa.exe  \t a.log", "a.log"},
        {"\"C:\\My Tools\\vexa.exe\" \"b c.log\"", "\"b c.log\""},
        {"\"C:\\My Tools\\vexa.exe\"-x", "-x"},
        // Bytes of a UTF-8 name are no blanks.
        {"vexa.exe \xd0\x94\xd0\xbc.log", "\xd0\x94\xd0\xbc.log"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.commandLine);
        EXPECT_STREQ(argumentTextOf(c.commandLine), c.expected);
    }
}

TEST(SplitCommandLine, ProducesTheArgumentsOfEachExample) {
    struct Case {
        const char* name;
        const char* text;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"quoted path", "\"C:\\My Logs\\call.log\"", {"C:\\My Logs\\call.log"}},
        {"even backslashes before quote", "a\\\\\"b c\"", {"a\\b c"}},
        {"odd backslashes before quote", "a\\\"b", {"a\"b"}},
        {"doubled quote inside quotes", "\"a\"\"b\"", {"a\"b"}},
        {"backslashes without quote", "a\\\\b", {"a\\\\b"}},
        {"empty quoted argument", "\"\"", {""}},
        {"two blanks between", "one  two", {"one", "two"}},
        {"empty text", "", {}},
        {"only blanks", " \t\r\n\v\f ", {}},
        {"every blank separates", "a\tb\nc\vd\fe\rf", {"a", "b", "c", "d", "e", "f"}},
        {"quoted blanks join", "x\" y \"z w", {"x y z", "w"}},
        {"unclosed quote runs to end", "\"a b", {"a b"}},
        {"three backslashes and quote", "a\\\\\\\"b", {"a\\\"b"}},
        {"trailing backslashes", "a\\\\", {"a\\\\"}},
        {"doubled quote leaves quoted mode", "\"a\"\" b\"", {"a\"", "b"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(split(c.text), c.expected);
    }
}

TEST(SplitCommandLine, CountsTextBytesWithTheirTerminators) {
    int count = 0;
    std::size_t bytes = 0;
    splitCommandLine("ab \"\" c", nullptr, nullptr, &count, &bytes);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(bytes, 3u + 1u + 2u);
}

struct Parsed {
    bool accepted;
    PrefixChoice choice;
    std::string prefix;
    std::string fileName;  // "<none>" when none
    int viewerMode;
};

Parsed parse(const char* text, int viewerMode) {
    std::vector<std::string> words = split(text);
    std::vector<char*> arguments;
    for (std::string& word : words) {
        arguments.push_back(&word[0]);
    }
    CommandLineOptions options;
    Parsed result;
    bool viewerOn = viewerMode != 0;
    result.accepted =
        parseOptions(static_cast<int>(arguments.size()), arguments.data(), &options, &viewerOn);
    result.choice = options.prefix.choice;
    result.prefix = options.prefix.choice == PrefixChoice::Text ? options.prefix.text : "<none>";
    result.fileName = options.fileName != nullptr ? options.fileName : "<none>";
    result.viewerMode = viewerOn ? 1 : 0;
    return result;
}

TEST(ParseOptions, AcceptsEachFormOfTheThreeGroups) {
    struct Case {
        const char* name;
        const char* text;
        int viewerBefore;
        PrefixChoice choice;
        const char* prefix;
        const char* fileName;
        int viewerAfter;
    };
    const PrefixChoice none = PrefixChoice::NotGiven;
    const PrefixChoice text = PrefixChoice::Text;
    const PrefixChoice off = PrefixChoice::NoPrefix;
    const Case cases[] = {
        {"nothing", "", 1, none, "<none>", "<none>", 1},
        {"plus prefix", "+>", 0, text, ">", "<none>", 0},
        {"bare plus is an empty prefix", "+", 0, text, "", "<none>", 0},
        {"prefix option", "-prefix \"> \"", 0, text, "> ", "<none>", 0},
        {"empty prefix option", "-prefix \"\"", 0, text, "", "<none>", 0},
        {"prefix consumes an option word", "-prefix -clipview", 0, text, "-clipview", "<none>", 0},
        {"noprefix", "-noprefix", 0, off, "<none>", "<none>", 0},
        {"slash and any case", "/NoPrefix /CLIPVIEW", 0, off, "<none>", "<none>", 1},
        {"clipview", "-clipview", 0, none, "<none>", "<none>", 1},
        {"noclipview overrides setting", "-noclipview", 1, none, "<none>", "<none>", 0},
        {"mixed-case noclipview", "/NoClipView", 1, none, "<none>", "<none>", 0},
        {"file name", "C:\\logs\\call.log", 0, none, "<none>", "C:\\logs\\call.log", 0},
        {"dash word is a file name", "-x", 0, none, "<none>", "-x", 0},
        {"slash word is a file name", "/tmp/call.log", 0, none, "<none>", "/tmp/call.log", 0},
        {"empty argument is a file name", "\"\"", 0, none, "<none>", "", 0},
        {"all three groups", "+# -clipview a.log", 0, text, "#", "a.log", 1},
        {"prefix option then file", "-PREFIX x y.log", 0, text, "x", "y.log", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Parsed got = parse(c.text, c.viewerBefore);
        EXPECT_TRUE(got.accepted);
        EXPECT_EQ(got.choice, c.choice);
        EXPECT_EQ(got.prefix, c.prefix);
        EXPECT_EQ(got.fileName, c.fileName);
        EXPECT_EQ(got.viewerMode, c.viewerAfter);
    }
}

TEST(ParseOptions, RefusesEveryBadCommandLine) {
    const char* const cases[] = {
        "-h",
        "-help",
        "/?",
        "-?",
        "/H",
        "?x",
        "?",
        "-prefix",
        "a.log -prefix",
        "+a -noprefix",
        "+a +b",
        "-noprefix +a",
        "-prefix x +y",
        "-noprefix -noprefix",
        "-clipview -noclipview",
        "-clipview -clipview",
        "-noclipview /clipview",
        "a.log b.log",
        "\"\" a.log",
        "-x -y",
        "a.log -hx",
    };
    for (const char* text : cases) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(parse(text, 0).accepted);
    }
}

// Windows before 10 1903 hands over a '?' for each character the code page
// lacks: the argument as the system gave it, and as it was typed.
TEST(ParseOptions, QuestionMarkForALostCharacterIsAFileName) {
    struct Case {
        const char* given;
        const wchar_t* typed;
        bool accepted;
        const char* fileName;
    };
    const Case cases[] = {
        {"???????.log", L"\x0414\x043c\x0438\x0442\x0440\x0438\x0439.log", true, "???????.log"},
        {"-??.log", L"-\x65e5\x672c.log", true, "-??.log"},
        {"x-??.log", L"x-\x65e5\x672c.log", true, "x-??.log"},
        {"?x", L"?x", false, "<none>"},
        {"/?", L"/?", false, "<none>"},
        {"?\xe4.log", L"?\x00e4.log", false, "<none>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.given);
        std::string given = c.given;
        char* arguments[] = {&given[0]};
        const wchar_t* typed[] = {c.typed};
        bool replaced[] = {true};
        replacedQuestionMarks(1, arguments, 1, typed, replaced);
        CommandLineOptions options;
        bool viewerOn = false;
        EXPECT_EQ(parseOptions(1, arguments, &options, &viewerOn, replaced), c.accepted);
        EXPECT_STREQ(options.fileName != nullptr ? options.fileName : "<none>", c.fileName);
        // Where the system's arguments do not match the typed ones in number,
        // the rule stays as it was.
        replacedQuestionMarks(1, arguments, 2, typed, replaced);
        EXPECT_FALSE(replaced[0]);
    }
}

}  // namespace

// The help, the manual page, the completion and the README held to the
// parser's table of option words and to exit_status.h: each offers every
// option and none the parser lacks, and each names the same exit codes.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "exit_status.h"
#include "options.h"

namespace {

using Words = std::set<std::string>;

std::string sourceFile(const std::string& path) {
    std::ifstream in(std::string(VEXA_SOURCE_DIR) + "/" + path, std::ios::binary);
    EXPECT_TRUE(in.good()) << path;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// From the first begin on, up to the next end after it (or the text's end).
std::string between(const std::string& text, const std::string& begin, const std::string& end) {
    const std::size_t from = text.find(begin);
    EXPECT_NE(std::string::npos, from) << begin;
    if (from == std::string::npos) {
        return "";
    }
    const std::size_t to = text.find(end, from + begin.size());
    return text.substr(from, to == std::string::npos ? std::string::npos : to - from);
}

// The option words in text: "-x", "--word" and "--" standing apart.
Words optionWords(std::string text) {
    text = std::regex_replace(text, std::regex(R"(\\-)"), "-");  // troff's dash
    static const std::regex word(R"(^(--?[a-z0-9][a-z0-9-]*|--)$)");
    Words words;
    std::string token;
    std::istringstream tokens(std::regex_replace(text, std::regex(R"([",()|`\[\]])"), " "));
    while (tokens >> token) {
        if (std::regex_match(token, word)) {
            words.insert(token);
        }
    }
    return words;
}

// The first group of every match of pattern in text, a line each.
std::string captures(const std::string& text, const char* pattern) {
    const std::regex regex(pattern);
    std::string picked;
    for (std::sregex_iterator i(text.begin(), text.end(), regex), end; i != end; ++i) {
        picked += i->str(1) + "\n";
    }
    return picked;
}

std::set<int> numbers(const std::string& text) {
    static const std::regex number(R"(\b[0-9]+\b)");
    std::set<int> found;
    for (std::sregex_iterator i(text.begin(), text.end(), number), end; i != end; ++i) {
        found.insert(std::stoi(i->str()));
    }
    return found;
}

TEST(OptionDocs, OfferTheParsersWords) {
    const std::vector<std::string> table = consoleOptionWords();
    const Words parsed(table.begin(), table.end());
    const std::string manual = sourceFile("console/vexa-decode.1.in");
    // The help's option column: "  -0, --null  the list's..." gives -0 and --null.
    const Words help = optionWords(captures(HelpText, R"(\n  (-[^ ,]*(, -[^ ,]*)*))"));
    const Words manualHeadings =
        optionWords(captures(between(manual, ".SH OPTIONS", ".SH "), R"(\.TP\n([^\n]*))"));
    const Words completion =
        optionWords(between(sourceFile("console/vexa-decode.bash-completion"), "-W \"-", "\" --"));
    // The README tells of every option somewhere, and heads rows with options only.
    const std::string readme =
        between(sourceFile("README.md"), "## The console decoder", "## A fleet");
    const struct {
        const char* name;
        Words offered;  // must hold every option
        Words headed;   // must hold options only
    } docs[] = {
        {"help", help, help},
        {"manual page", manualHeadings, manualHeadings},
        {"completion", completion, completion},
        {"README", optionWords(readme), optionWords(captures(readme, R"(\n\| (`-[^|]*)\|)"))},
    };
    for (const auto& doc : docs) {
        SCOPED_TRACE(doc.name);
        for (const std::string& word : parsed) {
            EXPECT_EQ(1u, doc.offered.count(word)) << word << " is not offered";
        }
        for (const std::string& word : doc.headed) {
            EXPECT_EQ(1u, parsed.count(word)) << word << " is no option";
        }
    }
}

TEST(OptionDocs, NameTheSameExitCodes) {
    const std::set<int> codes = {0, ExitFailure, ExitUsage, ExitNoReport, exitBySignal(0)};
    const std::string manual = sourceFile("console/vexa-decode.1.in");
    EXPECT_EQ(codes, numbers(between(HelpText, "Exit codes:", "\n\n"))) << "help";
    EXPECT_EQ(codes,
              numbers(captures(between(manual, ".SH EXIT STATUS", ".SH "), R"(\.TP\n([^\n]*))")))
        << "manual page";
    EXPECT_EQ(codes, numbers(between(sourceFile("README.md"), "Exit codes:", "\n\n"))) << "README";
}

}  // namespace

// The command-line options that set the line prefix (report_text.h), in
// the one grammar both programs accept:
//
//   +text | -prefix text | -noprefix
//
// Option words are introduced by "-" or "/" and compared without regard to
// case. The three forms make one group, which a command line may use once;
// -prefix takes the next argument as its text, whatever that looks like.
// Each program reads its other options itself, with the two helpers below.
#pragma once

#include <string>

enum class PrefixChoice { NotGiven, NoPrefix, Text };

struct PrefixOption {
    PrefixChoice choice = PrefixChoice::NotGiven;
    std::string text;  // with Text; may be empty
};

enum class PrefixArgument {
    Other,        // no prefix option: the program's own options look at it
    Taken,        // taken into the option
    Repeated,     // a second option of the group
    TextMissing,  // -prefix as the last argument
};

// Looks at arguments[*index] of count. A prefix option is taken into
// *option, and *index is left on the last argument it used.
PrefixArgument takePrefixOption(int count, const char* const* arguments, int* index,
                                PrefixOption* option);

// The word of an option argument, after its "-" or "/"; null for an argument
// that is no option ("-" and "/" alone are none).
const char* optionWord(const char* argument);

// Compares option words; ASCII letters match in either case.
bool equalsIgnoringCase(const char* a, const char* b);

// The line prefix an option gives: its text and one space, or nothing.
std::string linePrefixFor(const PrefixOption& option);

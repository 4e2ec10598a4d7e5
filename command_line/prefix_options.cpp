// Reading the line-prefix options.

#include "prefix_options.h"

namespace {

char lowerCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

const char* optionWord(const char* argument) {
    if ((argument[0] != '-' && argument[0] != '/') || argument[1] == '\0') {
        return nullptr;
    }
    return argument + 1;
}

bool equalsIgnoringCase(const char* a, const char* b) {
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        if (lowerCase(*a) != lowerCase(*b)) {
            return false;
        }
    }
    return *a == *b;
}

PrefixArgument takePrefixOption(int count, const char* const* arguments, int* index,
                                PrefixOption* option) {
    const char* argument = arguments[*index];
    const char* word = optionWord(argument);
    const bool plus = argument[0] == '+';
    const bool prefix = word != nullptr && equalsIgnoringCase(word, "prefix");
    const bool noPrefix = word != nullptr && equalsIgnoringCase(word, "noprefix");
    if (!plus && !prefix && !noPrefix) {
        return PrefixArgument::Other;
    }
    if (option->choice != PrefixChoice::NotGiven) {
        return PrefixArgument::Repeated;
    }
    if (noPrefix) {
        option->choice = PrefixChoice::NoPrefix;
        option->text.clear();
        return PrefixArgument::Taken;
    }
    if (prefix && *index + 1 >= count) {
        return PrefixArgument::TextMissing;
    }
    option->choice = PrefixChoice::Text;
    option->text = plus ? argument + 1 : arguments[++*index];
    return PrefixArgument::Taken;
}

std::string linePrefixFor(const PrefixOption& option) {
    return option.choice == PrefixChoice::Text ? option.text + " " : std::string();
}

#include "prefix_options.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct TakeCase {
    const char* name;
    std::vector<const char*> arguments;
    PrefixArgument last;  // what the last look gave
    int lastIndex;        // where it left the index
    PrefixChoice choice;
    const char* text;
};

const TakeCase TakeCases[] = {
    {"plus", {"+m7"}, PrefixArgument::Taken, 0, PrefixChoice::Text, "m7"},
    {"bare plus", {"+"}, PrefixArgument::Taken, 0, PrefixChoice::Text, ""},
    {"-prefix consumes the next argument",
     {"/PreFix", "-noprefix"},
     PrefixArgument::Taken,
     1,
     PrefixChoice::Text,
     "-noprefix"},
    {"-noprefix", {"-NOPREFIX"}, PrefixArgument::Taken, 0, PrefixChoice::NoPrefix, ""},
    {"other words", {"-prefixes"}, PrefixArgument::Other, 0, PrefixChoice::NotGiven, ""},
    {"a dash alone", {"-"}, PrefixArgument::Other, 0, PrefixChoice::NotGiven, ""},
    {"-prefix last", {"-prefix"}, PrefixArgument::TextMissing, 0, PrefixChoice::NotGiven, ""},
    {"the group twice",
     {"+a", "-prefix", "b"},
     PrefixArgument::Repeated,
     1,
     PrefixChoice::Text,
     "a"},
};

TEST(PrefixOptions, TakeOneArgumentAfterAnother) {
    for (const TakeCase& c : TakeCases) {
        SCOPED_TRACE(c.name);
        const int count = static_cast<int>(c.arguments.size());
        PrefixOption option;
        PrefixArgument last = PrefixArgument::Other;
        int i = 0;
        for (; i < count; ++i) {
            last = takePrefixOption(count, c.arguments.data(), &i, &option);
            if (last != PrefixArgument::Taken || i + 1 == count) {
                break;
            }
        }
        EXPECT_EQ(c.last, last);
        EXPECT_EQ(c.lastIndex, i);
        EXPECT_EQ(c.choice, option.choice);
        EXPECT_EQ(c.text, option.text);
    }
}

}  // namespace

// Splits the argument text the way the C runtime of the time did, and
// classifies the arguments into the prefix, viewer and file-name groups.
#include "command_line.h"

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Writes into the text storage when there is one; always counts.
struct Emitter {
    char* texts;
    std::size_t bytes;
    void put(char c) {
        if (texts != nullptr) {
            texts[bytes] = c;
        }
        ++bytes;
    }
};

const char* splitArgument(const char* p, Emitter* out) {
    bool quoted = false;
    for (;;) {
        std::size_t backslashes = 0;
        while (*p == '\\') {
            ++backslashes;
            ++p;
        }
        if (*p == '"') {
            for (std::size_t i = 0; i < backslashes / 2; ++i) {
                out->put('\\');
            }
            ++p;
            if (backslashes % 2 == 1) {
                out->put('"');
            } else if (quoted && *p == '"') {
                out->put('"');
                ++p;
                quoted = false;
            } else {
                quoted = !quoted;
            }
            continue;
        }
        for (std::size_t i = 0; i < backslashes; ++i) {
            out->put('\\');
        }
        if (*p == '\0' || (!quoted && isBlank(*p))) {
            return p;
        }
        out->put(*p++);
    }
}

bool equalsIgnoringCase(const char* a, const char* b) {
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        char x = (*a >= 'A' && *a <= 'Z') ? static_cast<char>(*a - 'A' + 'a') : *a;
        char y = (*b >= 'A' && *b <= 'Z') ? static_cast<char>(*b - 'A' + 'a') : *b;
        if (x != y) {
            return false;
        }
    }
    return *a == *b;
}

}  // namespace

void splitCommandLine(const char* argumentText, char** arguments, char* texts, int* count,
                      std::size_t* textBytes) {
    Emitter out{texts, 0};
    int found = 0;
    const char* p = argumentText;
    for (;;) {
        while (isBlank(*p)) {
            ++p;
        }
        if (*p == '\0') {
            break;
        }
        if (arguments != nullptr) {
            arguments[found] = texts + out.bytes;
        }
        ++found;
        p = splitArgument(p, &out);
        out.put('\0');
    }
    *count = found;
    *textBytes = out.bytes;
}

bool parseOptions(int count, char* const* arguments, CommandLineOptions* options, int* viewerMode) {
    bool prefixGroupUsed = false;
    bool viewerGroupUsed = false;
    for (int i = 0; i < count; ++i) {
        const char* argument = arguments[i];
        bool isOption = argument[0] == '-' || argument[0] == '/';
        const char* word = argument + 1;
        if (argument[0] == '+') {
            if (prefixGroupUsed) {
                return false;
            }
            prefixGroupUsed = true;
            options->prefixChoice = PrefixChoice::Text;
            options->prefix = word;
        } else if (isOption && equalsIgnoringCase(word, "prefix")) {
            if (prefixGroupUsed || i + 1 >= count) {
                return false;
            }
            prefixGroupUsed = true;
            options->prefixChoice = PrefixChoice::Text;
            options->prefix = arguments[++i];
        } else if (isOption && equalsIgnoringCase(word, "noprefix")) {
            if (prefixGroupUsed) {
                return false;
            }
            prefixGroupUsed = true;
            options->prefixChoice = PrefixChoice::NoPrefix;
            options->prefix = nullptr;
        } else if (isOption && (equalsIgnoringCase(word, "clipview") ||
                                equalsIgnoringCase(word, "noclipview"))) {
            if (viewerGroupUsed) {
                return false;
            }
            viewerGroupUsed = true;
            *viewerMode = equalsIgnoringCase(word, "clipview") ? 1 : 0;
        } else if ((isOption && (word[0] == 'h' || word[0] == 'H' || word[0] == '?')) ||
                   argument[0] == '?') {
            return false;
        } else {
            if (options->fileName != nullptr) {
                return false;
            }
            options->fileName = argument;
        }
    }
    return true;
}

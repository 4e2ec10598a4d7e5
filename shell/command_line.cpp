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

}  // namespace

const char* argumentTextOf(const char* commandLine) {
    const char* p = commandLine;
    if (*p == '"') {
        for (++p; *p != '\0' && *p != '"'; ++p) {
        }
        if (*p == '"') {
            ++p;
        }
    } else {
        while (*p != '\0' && *p != ' ' && *p != '\t') {
            ++p;
        }
    }
    while (*p == ' ' || *p == '\t') {
        ++p;
    }
    return p;
}

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

void replacedQuestionMarks(int count, char* const* arguments, int wideCount,
                           const wchar_t* const* wideArguments, bool* replaced) {
    for (int i = 0; i < count; ++i) {
        replaced[i] = false;
        if (wideCount != count) {
            continue;
        }
        const char* argument = arguments[i];
        const wchar_t* typed = wideArguments[i];
        // The first two characters are single bytes whenever either is a '?'.
        for (int at = 0; at < 2 && argument[at] != '\0' && typed[at] != L'\0'; ++at) {
            if (argument[at] == '?' && typed[at] != L'?') {
                replaced[i] = true;
            }
            if (argument[at] != typed[at]) {
                break;
            }
        }
    }
}

bool parseOptions(int count, char* const* arguments, CommandLineOptions* options, bool* viewerOn,
                  const bool* replaced) {
    bool viewerGroupUsed = false;
    for (int i = 0; i < count; ++i) {
        const PrefixArgument prefix = takePrefixOption(count, arguments, &i, &options->prefix);
        if (prefix == PrefixArgument::Taken) {
            continue;
        }
        if (prefix != PrefixArgument::Other) {
            return false;
        }
        const char* argument = arguments[i];
        const char* word = replaced != nullptr && replaced[i] ? nullptr : optionWord(argument);
        if (word != nullptr &&
            (equalsIgnoringCase(word, "clipview") || equalsIgnoringCase(word, "noclipview"))) {
            if (viewerGroupUsed) {
                return false;
            }
            viewerGroupUsed = true;
            *viewerOn = equalsIgnoringCase(word, "clipview");
        } else if ((word != nullptr && (word[0] == 'h' || word[0] == 'H' || word[0] == '?')) ||
                   (argument[0] == '?' && (replaced == nullptr || !replaced[i]))) {
            // Any word that begins like a request for help is one.
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

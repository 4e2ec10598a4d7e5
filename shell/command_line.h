// The command line: splitting the argument text into arguments, and reading
// the options out of them.
//
// splitCommandLine is called twice: once with no storage, to learn the
// argument count and the bytes the texts take (each text with its zero),
// then with storage for the list and the texts, to fill them. The list
// entries point into the text storage.
//
// parseOptions leaves the options' texts pointing into the argument list,
// which therefore has to outlive them.
#pragma once

#include <cstddef>

void splitCommandLine(const char* argumentText, char** arguments, char* texts, int* count,
                      std::size_t* textBytes);

enum class PrefixChoice { NotGiven, NoPrefix, Text };

struct CommandLineOptions {
    PrefixChoice prefixChoice = PrefixChoice::NotGiven;
    const char* prefix = nullptr;    // set with PrefixChoice::Text; may be ""
    const char* fileName = nullptr;  // none when no file was named
};

// False when the command line is not accepted (the caller shows the usage
// box). The viewer options write *viewerMode directly; it keeps its value
// when neither is given.
bool parseOptions(int count, char* const* arguments, CommandLineOptions* options, int* viewerMode);

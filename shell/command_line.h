// The command line: splitting the argument text into arguments, and reading
// the options out of them.
//
// splitCommandLine is called twice: once with no storage, to learn the
// argument count and the bytes the texts take (each text with its zero),
// then with storage for the list and the texts, to fill them. The list
// entries point into the text storage.
//
// parseOptions reads the prefix options with the grammar both programs share
// (prefix_options.h) and the window's own options around them. The file name
// points into the argument list, which therefore has to outlive it.
#pragma once

#include <cstddef>

#include "prefix_options.h"

void splitCommandLine(const char* argumentText, char** arguments, char* texts, int* count,
                      std::size_t* textBytes);

struct CommandLineOptions {
    PrefixOption prefix;
    const char* fileName = nullptr;  // none when no file was named
};

// False when the command line is not accepted (the caller shows the usage
// box). The viewer options write *viewerOn directly; it keeps its value
// when neither is given.
bool parseOptions(int count, char* const* arguments, CommandLineOptions* options, bool* viewerOn);

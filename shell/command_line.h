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

// The argument text of a whole command line: what follows the program's
// name (quoted, or up to a blank) and the blanks after it.
const char* argumentTextOf(const char* commandLine);

void splitCommandLine(const char* argumentText, char** arguments, char* texts, int* count,
                      std::size_t* textBytes);

struct CommandLineOptions {
    PrefixOption prefix;
    const char* fileName = nullptr;  // none when no file was named
};

// False when the command line is not accepted (the caller shows the usage
// box). The viewer options write *viewerOn directly; it keeps its value
// when neither is given. replaced, when given, holds a flag for each
// argument (replacedQuestionMarks): such an argument is a file name however
// it begins.
bool parseOptions(int count, char* const* arguments, CommandLineOptions* options, bool* viewerOn,
                  const bool* replaced = nullptr);

// Where the system's code page lacks a character of an argument (Windows
// before 10 1903 ignores our UTF-8 code page), the argument holds a '?'
// instead; a name such as "Дмитрий.log" would then read as a request for
// help. Sets replaced[i] when the first or second character of arguments[i]
// is such a '?', as the command line's own characters (wideArguments, the
// same count) show. Leaves every flag clear when the counts differ.
void replacedQuestionMarks(int count, char* const* arguments, int wideCount,
                           const wchar_t* const* wideArguments, bool* replaced);

// vexa-decode's streams, where Windows and the other platforms differ.
#pragma once

#include <cstdio>
#include <string>

// Opens a log as the window program does: for reading in text mode, others
// allowed to read the file but not to write it meanwhile (where the platform
// can say so). Null, errno set, when it cannot be opened.
std::FILE* openLog(const std::string& path);

// Makes standard output write bytes exactly as given: report lines already
// end in CR LF, and a text-mode stream would double the CR.
void writeStandardOutputAsIs();

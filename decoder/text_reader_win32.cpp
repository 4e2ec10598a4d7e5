// The Windows C runtime already reads text-mode streams the way the decoder
// expects; only its names for the device test differ.

#include <io.h>

#include <cstdio>

#include "text_reader.h"

bool isCharacterDevice(std::FILE* file) {
    return _isatty(_fileno(file)) != 0;
}

char* readChunk(char* buffer, int size, std::FILE* file) {
    return std::fgets(buffer, size, file);
}

std::size_t readAheadSize(std::FILE*) {
    return 0;
}

// A stream's bytes on Windows: the stream in binary mode, so that the C
// runtime's text-mode translation is not done twice.

#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "file_bytes.h"

bool isCharacterDevice(std::FILE* file) {
    return _isatty(_fileno(file)) != 0;
}

FileBytes::FileBytes(std::FILE* file) : file_(file) {
    _setmode(_fileno(file), _O_BINARY);
}

std::ptrdiff_t FileBytes::readSome(char* buffer, std::size_t size) {
    const std::size_t count = std::fread(buffer, 1, size, file_);
    return count == 0 && std::ferror(file_) != 0 ? -1 : static_cast<std::ptrdiff_t>(count);
}

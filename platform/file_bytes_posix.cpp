// A stream's bytes where streams do no translation: fread for regular files
// and memory streams, read(2) for what may keep a reader waiting.

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "file_bytes.h"

bool isCharacterDevice(std::FILE* file) {
    return isatty(fileno(file)) != 0;
}

FileBytes::FileBytes(std::FILE* file) : file_(file) {
    struct stat status;
    const int descriptor = fileno(file);
    if (descriptor >= 0 && fstat(descriptor, &status) == 0 && !S_ISREG(status.st_mode)) {
        descriptor_ = descriptor;
    }
}

std::ptrdiff_t FileBytes::readSome(char* buffer, std::size_t size) {
    if (descriptor_ < 0) {
        const std::size_t count = std::fread(buffer, 1, size, file_);
        return count == 0 && std::ferror(file_) != 0 ? -1 : static_cast<std::ptrdiff_t>(count);
    }
    for (;;) {
        const ssize_t count = read(descriptor_, buffer, size);
        if (count >= 0 || errno != EINTR) {
            return count;
        }
    }
}

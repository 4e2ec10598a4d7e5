// Windows text-mode reading on platforms whose streams do no translation.
//
// State between calls lives in the stream itself: a character read ahead
// after a CR, and the 0x1A that ends the input, are pushed back with ungetc,
// so every later read meets the 0x1A again and reports end of file.
//
// Characters are read without stdio's lock: a decoding run has the stream to
// itself on the one thread, and locking per character (or even per chunk of
// a short line) was most of the time spent on a large log.

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "text_reader.h"

namespace {

constexpr int EndOfText = 0x1A;
// Large enough that the system calls cost little, small enough to stay in
// the cache.
constexpr std::size_t RegularFileBlockSize = 64 * 1024;

}  // namespace

bool isCharacterDevice(std::FILE* file) {
    return isatty(fileno(file)) != 0;
}

std::size_t readAheadSize(std::FILE* file) {
    struct stat status;
    const int descriptor = fileno(file);
    if (descriptor < 0 || fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        return 0;
    }
    return RegularFileBlockSize;
}

char* readChunk(char* buffer, int size, std::FILE* file) {
    if (size <= 0) {
        return nullptr;
    }
    int count = 0;
    while (count < size - 1) {
        int c = getc_unlocked(file);
        if (c == EOF) {
            break;
        }
        if (c == EndOfText) {
            std::ungetc(c, file);
            break;
        }
        if (c == '\r') {
            const int next = getc_unlocked(file);
            if (next == '\n') {
                c = '\n';
            } else if (next != EOF) {
                std::ungetc(next, file);
            }
        }
        buffer[count++] = static_cast<char>(c);
        if (c == '\n') {
            break;
        }
    }
    if (count == 0 || std::ferror(file)) {
        return nullptr;
    }
    buffer[count] = '\0';
    return buffer;
}

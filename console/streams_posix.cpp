// The console's streams elsewhere than on Windows: read(2) and poll(2), no
// share modes, and no translation of line ends to undo.

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "streams.h"

namespace {

// The most an unprivileged process may ask for on Linux by default.
constexpr int LargePipeSize = 1024 * 1024;

class DescriptorStream : public InputStream {
  public:
    // A terminal that has hung up no longer says it is one.
    explicit DescriptorStream(int descriptor)
        : descriptor_(descriptor), terminal_(isatty(descriptor) != 0) {}

    std::ptrdiff_t readSome(char* buffer, std::size_t size) override {
        for (;;) {
            const ssize_t count = read(descriptor_, buffer, size);
            if (count >= 0) {
                return count;
            }
            if (errno == EINTR) {
                continue;
            }
            // A descriptor someone left non-blocking still waits here.
            if (errno == EAGAIN || errno == EWOULDBLOCK) {
                pollfd wanted = {descriptor_, POLLIN, 0};
                poll(&wanted, 1, -1);
                continue;
            }
            // What a terminal answers once its other end has gone.
            if (errno == EIO && terminal_) {
                return 0;
            }
            failure_ = std::strerror(errno);
            return -1;
        }
    }

  private:
    int descriptor_;
    bool terminal_;
};

}  // namespace

std::FILE* openLog(const std::string& path, std::string* failure) {
    struct stat status;
    std::FILE* file = nullptr;
    if (stat(path.c_str(), &status) == 0 && S_ISCHR(status.st_mode)) {
        // A serial port without a carrier would keep open() waiting.
        const int descriptor = open(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
        if (descriptor >= 0) {
            fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
            file = fdopen(descriptor, "r");
            if (file == nullptr) {
                close(descriptor);
            }
        }
    } else {
        file = std::fopen(path.c_str(), "r");
    }
    if (file == nullptr) {
        *failure = std::strerror(errno);
    }
    return file;
}

std::unique_ptr<InputStream> liveStreamFor(std::FILE* file) {
    struct stat status;
    const int descriptor = fileno(file);
    if (descriptor < 0 || (fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode))) {
        return nullptr;
    }
#ifdef F_SETPIPE_SZ
    // A pipe of the usual 64 kB makes its writer and this reader take turns
    // at every few blocks; a larger one lets both run. Where the system
    // refuses, the pipe stays as it is.
    if (S_ISFIFO(status.st_mode)) {
        fcntl(descriptor, F_SETPIPE_SZ, LargePipeSize);
    }
#endif
    return std::make_unique<DescriptorStream>(descriptor);
}

void writeStandardOutputAsIs() {}

std::string fileNameInUtf8(const std::string& name) {
    return name;
}

bool writeToConsole(std::string_view, bool) {
    return false;
}

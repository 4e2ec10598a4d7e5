// The console's streams on Windows: the C runtime's share flags and modes,
// and ReadFile on the stream's own handle for pipes, consoles and ports.

#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <windows.h>

#include <cerrno>
#include <cstring>

#include "streams.h"
#include "windows_io.h"

namespace {

// How long one read of a serial port waits for its first byte before it
// returns empty and waits again.
constexpr DWORD PortReadWait = 1000;

class HandleStream : public InputStream {
  public:
    HandleStream(HANDLE handle, bool port) : handle_(handle), port_(port) {}

    std::ptrdiff_t readSome(char* buffer, std::size_t size) override {
        const DWORD wanted = readSizeFor(size);
        for (;;) {
            DWORD count = 0;
            if (!ReadFile(handle_, buffer, wanted, &count, nullptr)) {
                const DWORD error = GetLastError();
                if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF) {
                    return 0;
                }
                failure_ = systemErrorText(error);
                return -1;
            }
            // An empty read is the end, except where a port's wait ran out.
            if (count > 0 || !port_) {
                return static_cast<std::ptrdiff_t>(count);
            }
        }
    }

  private:
    HANDLE handle_;
    bool port_;
};

// Ports cannot be shared, so they are opened alone.
std::FILE* openPort(const std::string& path, std::string* failure) {
    const HANDLE handle = CreateFileA(portDevicePath(path).c_str(), GENERIC_READ, 0, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        *failure = systemErrorText(GetLastError());
        return nullptr;
    }
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY);
    if (descriptor < 0) {
        CloseHandle(handle);
        *failure = "cannot use the port";
        return nullptr;
    }
    std::FILE* file = _fdopen(descriptor, "rb");
    if (file == nullptr) {
        _close(descriptor);
        *failure = std::strerror(errno);
    }
    return file;
}

}  // namespace

std::FILE* openLog(const std::string& path, std::string* failure) {
    if (isPortName(path)) {
        return openPort(path, failure);
    }
    std::FILE* file = _fsopen(path.c_str(), "rt", _SH_DENYWR);
    if (file == nullptr) {
        *failure = std::strerror(errno);
    }
    return file;
}

std::unique_ptr<InputStream> liveStreamFor(std::FILE* file) {
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    if (handle == INVALID_HANDLE_VALUE || GetFileType(handle) == FILE_TYPE_DISK) {
        return nullptr;
    }
    DCB state;
    state.DCBlength = sizeof state;
    const bool port = GetFileType(handle) == FILE_TYPE_CHAR && GetCommState(handle, &state);
    if (port) {
        // Each read returns what has arrived, or waits for the first byte.
        COMMTIMEOUTS timeouts = {MAXDWORD, MAXDWORD, PortReadWait, 0, 0};
        SetCommTimeouts(handle, &timeouts);
    }
    return std::make_unique<HandleStream>(handle, port);
}

void writeStandardOutputAsIs() {
    _setmode(_fileno(stdout), _O_BINARY);
}

std::string fileNameInUtf8(const std::string& name) {
    const int length = static_cast<int>(name.size());
    const int wide = MultiByteToWideChar(CP_ACP, 0, name.data(), length, nullptr, 0);
    if (wide <= 0) {
        return name;
    }
    std::wstring text(static_cast<std::size_t>(wide), L'\0');
    MultiByteToWideChar(CP_ACP, 0, name.data(), length, &text[0], wide);
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) {
        return name;
    }
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, &utf8[0], bytes, nullptr, nullptr);
    return utf8;
}

bool writeToConsole(std::string_view text, bool error) {
    // Asked once a stream: a pipe or a file stays one for the whole run.
    static int consoles[2] = {-1, -1};
    const HANDLE handle = GetStdHandle(error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    int& console = consoles[error ? 1 : 0];
    if (console < 0) {
        DWORD mode = 0;
        console = GetConsoleMode(handle, &mode) ? 1 : 0;
    }
    if (console == 0) {
        return false;
    }
    const int length = static_cast<int>(text.size());
    std::wstring wide(text.size(), L'\0');
    const int units =
        length == 0 ? 0 : MultiByteToWideChar(CP_ACP, 0, text.data(), length, &wide[0], length);
    DWORD written = 0;
    WriteConsoleW(handle, wide.data(), static_cast<DWORD>(units), &written, nullptr);
    return true;
}

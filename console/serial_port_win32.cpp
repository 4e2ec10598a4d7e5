// Serial ports through the Windows communications functions: a DCB for the
// line settings, and read timeouts that make each read return what has
// arrived. A port is this run's alone: it is opened unshared, and a named
// mutex for it keeps out every other run where the system does not refuse
// a second open of a device (Wine).

#include <windows.h>

#include "serial_port.h"
#include "windows_io.h"

namespace {

class WindowsSerialPort : public SerialPort {
  public:
    WindowsSerialPort(HANDLE handle, HANDLE lock) : handle_(handle), lock_(lock) {}
    ~WindowsSerialPort() override {
        CloseHandle(handle_);
        CloseHandle(lock_);
    }
    WindowsSerialPort(const WindowsSerialPort&) = delete;
    WindowsSerialPort& operator=(const WindowsSerialPort&) = delete;

    void discardInput() override { PurgeComm(handle_, PURGE_RXCLEAR | PURGE_RXABORT); }

    bool write(const std::string& text) override {
        DWORD written = 0;
        if (!WriteFile(handle_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
            written != text.size()) {
            failure_ = systemErrorText(GetLastError());
            return false;
        }
        return true;
    }

    std::ptrdiff_t read(char* buffer, std::size_t size, int waitMs) override {
        // MAXDWORD twice and a constant: return at once with what is there,
        // else with the first byte, else empty after the constant.
        const DWORD wait = waitMs < 0 ? MAXDWORD - 1 : static_cast<DWORD>(waitMs > 0 ? waitMs : 1);
        COMMTIMEOUTS timeouts = {MAXDWORD, MAXDWORD, wait, 0, 0};
        const DWORD wanted = readSizeFor(size);
        for (;;) {
            DWORD count = 0;
            if (!SetCommTimeouts(handle_, &timeouts) ||
                !ReadFile(handle_, buffer, wanted, &count, nullptr)) {
                failure_ = systemErrorText(GetLastError());
                return -1;
            }
            if (count > 0 || waitMs >= 0) {
                return static_cast<std::ptrdiff_t>(count);
            }
        }
    }

  private:
    HANDLE handle_;
    HANDLE lock_;
};

// The mutex that names the port for every run on the machine; null when
// another run holds it. A backslash may not stand in the name.
HANDLE lockPort(const std::string& path) {
    const std::string prefix = "Global\\vexa-decode-port-";
    std::string name = prefix + path;
    for (std::size_t i = prefix.size(); i < name.size(); ++i) {
        const char c = name[i];
        name[i] = c == '\\' ? '_' : (c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
    }
    const HANDLE lock = CreateMutexA(nullptr, FALSE, name.c_str());
    if (lock != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(lock);
        return nullptr;
    }
    return lock;
}

}  // namespace

std::unique_ptr<SerialPort> openSerialPort(const std::string& name, long baudRate,
                                           std::string* failure) {
    const std::string path = portDevicePath(name);
    const HANDLE lock = lockPort(path);
    if (lock == nullptr) {
        *failure = PortBusy;
        return nullptr;
    }
    const HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        CloseHandle(lock);
        // No sharing asked for: a port open elsewhere refuses access.
        const DWORD error = GetLastError();
        const bool busy = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION;
        *failure = busy ? PortBusy : systemErrorText(error);
        return nullptr;
    }
    DCB state;
    ZeroMemory(&state, sizeof state);
    state.DCBlength = sizeof state;
    if (!GetCommState(handle, &state)) {
        *failure = systemErrorText(GetLastError());
        CloseHandle(handle);
        CloseHandle(lock);
        return nullptr;
    }
    state.BaudRate = static_cast<DWORD>(baudRate);
    state.ByteSize = 8;
    state.Parity = NOPARITY;
    state.StopBits = ONESTOPBIT;
    state.fBinary = TRUE;
    state.fParity = FALSE;
    state.fOutxCtsFlow = FALSE;
    state.fOutxDsrFlow = FALSE;
    state.fDtrControl = DTR_CONTROL_ENABLE;
    state.fDsrSensitivity = FALSE;
    state.fOutX = FALSE;
    state.fInX = FALSE;
    state.fNull = FALSE;
    state.fRtsControl = RTS_CONTROL_ENABLE;
    state.fAbortOnError = FALSE;
    if (!SetCommState(handle, &state)) {
        *failure = systemErrorText(GetLastError());
        CloseHandle(handle);
        CloseHandle(lock);
        return nullptr;
    }
    return std::make_unique<WindowsSerialPort>(handle, lock);
}

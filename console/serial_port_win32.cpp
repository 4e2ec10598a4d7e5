// Serial ports through the Windows communications functions: a DCB for the
// line settings, and read timeouts that make each read return what has
// arrived.

#include <windows.h>

#include "serial_port.h"
#include "windows_io.h"

namespace {

class WindowsSerialPort : public SerialPort {
  public:
    explicit WindowsSerialPort(HANDLE handle) : handle_(handle) {}
    ~WindowsSerialPort() override { CloseHandle(handle_); }
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
};

}  // namespace

std::unique_ptr<SerialPort> openSerialPort(const std::string& name, long baudRate,
                                           std::string* failure) {
    const HANDLE handle = CreateFileA(portDevicePath(name).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
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
        return nullptr;
    }
    return std::make_unique<WindowsSerialPort>(handle);
}

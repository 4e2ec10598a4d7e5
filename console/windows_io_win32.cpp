// The Windows helpers of vexa-decode.

#include "windows_io.h"

namespace {

constexpr DWORD LargestRead = 1024 * 1024;
const char DevicePrefix[] = "\\\\.\\";

}  // namespace

// Without the line end FormatMessage adds.
std::string systemErrorText(DWORD error) {
    char text[256] = "";
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, 0, text, sizeof text, nullptr);
    std::string message(text, length);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                message.back() == ' ' || message.back() == '.')) {
        message.pop_back();
    }
    return message.empty() ? "system error " + std::to_string(error) : message;
}

bool isPortName(const std::string& name) {
    if (name.compare(0, sizeof DevicePrefix - 1, DevicePrefix) == 0) {
        return true;
    }
    if (name.size() < 4 || _strnicmp(name.c_str(), "COM", 3) != 0) {
        return false;
    }
    for (std::size_t i = 3; i < name.size(); ++i) {
        const bool last = i + 1 == name.size();
        if (!(name[i] >= '0' && name[i] <= '9') && !(last && name[i] == ':' && i > 3)) {
            return false;
        }
    }
    return true;
}

std::string portDevicePath(const std::string& name) {
    std::string path = name;
    if (!path.empty() && path.back() == ':') {
        path.pop_back();
    }
    if (path.compare(0, sizeof DevicePrefix - 1, DevicePrefix) != 0) {
        path = DevicePrefix + path;
    }
    return path;
}

DWORD readSizeFor(std::size_t size) {
    return size > LargestRead ? LargestRead : static_cast<DWORD>(size);
}

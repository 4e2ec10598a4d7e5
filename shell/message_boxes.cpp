// The message boxes, all shown through one replaceable function.
#include "message_boxes.h"

#include <cerrno>
#include <cstring>

#include "shell_state.h"

namespace {

int callMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
    return MessageBoxA(owner, text, caption, type);
}

}  // namespace

MessageBoxFunction showMessageBox = callMessageBox;

void showUsageBox() {
    showMessageBox(nullptr,
                   "Usage: vexa [+prefix | -prefix string | -noprefix] [-clipview | -noclipview] "
                   "[file]",
                   "vexa", MB_ICONINFORMATION | MB_SETFOREGROUND);
}

void showSystemErrorBox(const char* caption) {
    DWORD code = GetLastError();
    // A text that does not fit, or a code without text, leaves the body empty.
    // Inserts are ignored: some system texts hold %1 and no arguments are given.
    char text[128] = {};
    if (FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                       MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text, sizeof text,
                       nullptr) == 0) {
        text[0] = '\0';
    }
    showMessageBox(windowState.reportView, text, caption, MB_OK | MB_ICONHAND);
}

void showFileErrorBox(const char* caption) {
    showMessageBox(windowState.reportView, std::strerror(errno), caption, MB_OK | MB_ICONHAND);
}

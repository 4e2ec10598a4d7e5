// The program's message boxes: the usage box, the system-error box (a failed
// system call, body from FormatMessageA) and the file-error box (a failed
// file operation, body from strerror(errno)).
//
// Every box goes through showMessageBox, which is MessageBoxA unless a test
// has put its own recorder there; nothing else in the program calls
// MessageBoxA.
#pragma once

#include <windows.h>

using MessageBoxFunction = int (*)(HWND owner, const char* text, const char* caption, UINT type);
extern MessageBoxFunction showMessageBox;

void showUsageBox();

// Caption = the program's short message; owner = the report view, or none
// while it does not exist.
void showSystemErrorBox(const char* caption);
void showFileErrorBox(const char* caption);

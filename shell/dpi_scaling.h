// Sizes that follow the display's DPI: the DPI a window is drawn at, pixel
// sizes meant for 96 DPI scaled to it, the small icon size and the status
// bar's font. What only newer Windows has is looked up at run time, so the
// program still starts on Windows XP, where everything keeps the system's
// DPI (96 unless the user chose larger fonts).
#pragma once

#include <windows.h>

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

const int BaseDpi = 96;

// A function of USER32.DLL, or null where this Windows lacks it.
FARPROC user32Function(const char* name);

// The DPI of the primary monitor when the user logged on.
int systemDpi();

// The window's monitor's DPI (Windows 10 1607 on), else the system's.
int windowDpi(HWND window);

// A size in pixels at 96 DPI, at dpi, rounded.
int scaledToDpi(int pixels, int dpi);

// The system's small icon size at dpi (16 at 96 DPI); before Windows 10
// 1607, the one size of the system's DPI.
int smallIconSize(int dpi);

// The status bar's font at dpi, which the caller deletes; null before
// Windows 10 1607, where the status bar keeps the font it chose itself.
HFONT createStatusFont(int dpi);

// Leaves a DPI change to the dialog's own procedure (Windows 10 1703 on):
// the dialog manager would otherwise scale the controls itself and give
// the report view the template's font back.
void keepDialogManagerFromScaling(HWND dialog);

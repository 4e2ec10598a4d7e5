// The window program's state, as notepad-style programs keep their globals:
// a few named records, each written by the part of the program its comment
// names and read wherever it is needed. Every shell file may include this
// header; it includes no shell file but the settings' sizes.
#pragma once

#include <windows.h>

#include "settings.h"

// Fixed during start-up (startup.cpp); lives until the program ends.
struct StartupState {
    HINSTANCE instance = nullptr;  // where templates, menu and icons load from
};
extern StartupState startupState;

// The main window's handles and resources (main_window.cpp): made during
// WM_INITDIALOG, released during WM_DESTROY.
struct WindowState {
    HWND mainWindow = nullptr;
    HWND reportView = nullptr;                 // also the owner of the error boxes
    WNDPROC previousReportViewProc = nullptr;  // the edit control's own
    HWND statusBar = nullptr;
    HMENU menu = nullptr;
    HMENU fileMenu = nullptr;  // carries the Clipboard Viewer check mark
    HICON viewerOnIcon = nullptr;
    HICON viewerOffIcon = nullptr;
    COLORREF background = 0;
    HBRUSH backgroundBrush = nullptr;
    int dpi = 96;                // the DPI the window is drawn at
    HFONT reportFont = nullptr;  // made for the report view, if any
    HFONT statusFont = nullptr;  // made for the status bar at another DPI than the system's
    int paneEdges[2] = {0, -1};
    UINT menuHelpIds[2] = {0, 0};  // MenuHelp's id list: no entries
};
extern WindowState windowState;

// Clipboard viewer mode (viewer_mode.cpp). The report copy (report_copy.cpp)
// sets ignoreNextChange for the change its own write causes.
struct ViewerState {
    bool on = false;                // in the chain; seeded at start-up
    HWND nextViewer = nullptr;      // the window after ours in the chain
    bool ignoreNextChange = false;  // skip decoding the next change once
};
extern ViewerState viewerState;

// The decoding run under way (process_clipboard.cpp).
struct DecodingGuard {
    bool decoding = false;          // a decoding run is under way
    bool changedMeanwhile = false;  // the clipboard changed during it
};
extern DecodingGuard decodingGuard;

// The open and save dialogs' last names, in memory only (log_files.cpp),
// in the program's code page (settings.h).
struct LogFileState {
    char saveDialogName[PathBufferSize] = {};
    char openDialogName[PathBufferSize] = {};
};
extern LogFileState logFileState;

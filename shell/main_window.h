// The main window: a dialog (template 101) holding the report view and the
// two-pane status bar under the menu. Its procedure receives every command
// and accelerator, lays the controls out, colours the report view, takes
// dropped files, shows menu help and carries the clipboard viewer messages.
// Its fixed pixel sizes are meant for 96 DPI and scaled to the window's DPI,
// which it follows when the window moves to a monitor with another scale.
//
// Destroying the window posts the quit message that ends the program.
#pragma once

#include <windows.h>

// Made during WM_INITDIALOG, released during WM_DESTROY.
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

INT_PTR CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

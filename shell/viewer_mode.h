// Clipboard viewer mode: while it is on, the main window is in the
// clipboard viewer chain and decodes every clipboard change by itself.
//
// The report copy marks its own clipboard write with ignoreNextChange
// (shell_state.h), so the change it causes is passed on but not decoded.
#pragma once

#include <windows.h>

// Joins the chain and shows the mode in the menu's check mark and the viewer
// pane. The chain's first notification arrives from inside the join and
// decodes the clipboard.
void joinViewerChain(HWND mainWindow);

// The Clipboard Viewer command: join or leave the chain, and show the mode.
void toggleViewerMode(HWND mainWindow);

// Viewer pane (pane 1): text and icon for the current mode.
void showViewerPane();

void onDrawClipboard(HWND mainWindow, WPARAM wParam, LPARAM lParam);
void onChangeClipboardChain(WPARAM wParam, LPARAM lParam);

// Leaving while the window is destroyed: menu and pane are left alone.
void leaveViewerChain(HWND mainWindow);

// Leaving when the program ends without destroying its window (it ran out
// of memory): the viewers after ours must not be cut off.
void leaveViewerChainAtExit();

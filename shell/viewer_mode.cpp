// Joining and leaving the clipboard viewer chain, and passing its
// notifications on.
#include "viewer_mode.h"

#include <commctrl.h>

#include "command_ids.h"
#include "shell_state.h"

namespace {

void showMode() {
    CheckMenuItem(windowState.fileMenu, IDM_CLIPBOARD_VIEWER,
                  MF_BYCOMMAND | (viewerState.on ? MF_CHECKED : MF_UNCHECKED));
    showViewerPane();
}

}  // namespace

void showViewerPane() {
    const char* text = viewerState.on ? "Clipboard Viewer On" : "Clipboard Viewer Off";
    HICON icon = viewerState.on ? windowState.viewerOnIcon : windowState.viewerOffIcon;
    SendMessageA(windowState.statusBar, SB_SETTEXTA, 1, reinterpret_cast<LPARAM>(text));
    SendMessageA(windowState.statusBar, SB_SETICON, 1, reinterpret_cast<LPARAM>(icon));
}

void joinViewerChain(HWND mainWindow) {
    // The first WM_DRAWCLIPBOARD arrives from inside this call, while the
    // next viewer is still none: it decodes and passes nothing on.
    viewerState.nextViewer = SetClipboardViewer(mainWindow);
    viewerState.on = true;
    showMode();
}

void toggleViewerMode(HWND mainWindow) {
    if (viewerState.on) {
        leaveViewerChain(mainWindow);
        showMode();
    } else {
        joinViewerChain(mainWindow);
    }
}

void leaveViewerChain(HWND mainWindow) {
    ChangeClipboardChain(mainWindow, viewerState.nextViewer);
    viewerState.nextViewer = nullptr;
    viewerState.on = false;
}

void leaveViewerChainAtExit() {
    if (viewerState.on && windowState.mainWindow != nullptr) {
        leaveViewerChain(windowState.mainWindow);
    }
}

void onDrawClipboard(HWND mainWindow, WPARAM wParam, LPARAM lParam) {
    if (!viewerState.ignoreNextChange) {
        SendMessageA(mainWindow, WM_COMMAND, IDM_PROCESS_CLIPBOARD, 0);
    }
    viewerState.ignoreNextChange = false;
    // A window that joined twice gets itself back as its next viewer;
    // sending itself the notification would decode without end.
    if (viewerState.nextViewer != nullptr && viewerState.nextViewer != mainWindow) {
        SendMessageA(viewerState.nextViewer, WM_DRAWCLIPBOARD, wParam, lParam);
    }
}

void onChangeClipboardChain(WPARAM wParam, LPARAM lParam) {
    HWND leaving = reinterpret_cast<HWND>(wParam);
    if (leaving == viewerState.nextViewer) {
        viewerState.nextViewer = reinterpret_cast<HWND>(lParam);
    } else if (viewerState.nextViewer != nullptr) {
        SendMessageA(viewerState.nextViewer, WM_CHANGECBCHAIN, wParam, lParam);
    }
}

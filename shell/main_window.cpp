// The main window procedure: a short switch, one handler per message.
#include "main_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include "about_box.h"
#include "command_ids.h"
#include "dpi_scaling.h"
#include "log_files.h"
#include "process_clipboard.h"
#include "report_copy.h"
#include "report_font.h"
#include "shell_state.h"
#include "viewer_mode.h"

namespace {

using LoadImageFunction = HANDLE(WINAPI*)(HINSTANCE, LPCSTR, UINT, int, int, UINT);

void setWindowIcons(HWND window) {
    HICON icon = LoadIconA(startupState.instance, MAKEINTRESOURCEA(IDI_PROGRAM));
    SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
}

void installReportView(HWND window) {
    windowState.reportView = GetDlgItem(window, IDC_REPORT_VIEW);
    windowState.previousReportViewProc =
        reinterpret_cast<WNDPROC>(GetWindowLongPtrA(windowState.reportView, GWLP_WNDPROC));
    SetWindowLongPtrA(windowState.reportView, GWLP_WNDPROC,
                      reinterpret_cast<LONG_PTR>(reportViewProc));
}

// The source pane ends this far from the right, but keeps this width.
const int ViewerPaneWidth = 150;
const int LeastSourcePaneWidth = 50;

// LoadImageA is looked up at run time: on a system without it the viewer
// pane simply shows no icon. The icons are loaded at the small icon size of
// the window's DPI, which picks the matching image of the icon files.
void loadViewerIcons() {
    auto loadImage = reinterpret_cast<LoadImageFunction>(
        reinterpret_cast<void (*)()>(user32Function("LoadImageA")));
    if (loadImage == nullptr) {
        return;
    }
    int size = smallIconSize(windowState.dpi);
    windowState.viewerOnIcon = static_cast<HICON>(loadImage(
        startupState.instance, MAKEINTRESOURCEA(IDI_VIEWER_ON), IMAGE_ICON, size, size, 0));
    windowState.viewerOffIcon = static_cast<HICON>(loadImage(
        startupState.instance, MAKEINTRESOURCEA(IDI_VIEWER_OFF), IMAGE_ICON, size, size, 0));
}

void destroyViewerIcons(HICON on, HICON off) {
    if (on != nullptr) {
        DestroyIcon(on);
    }
    if (off != nullptr) {
        DestroyIcon(off);
    }
}

void readReportBackground() {
    windowState.background = GetSysColor(COLOR_WINDOW);
    windowState.backgroundBrush = GetSysColorBrush(COLOR_WINDOW);
}

void onSize(int width, int height) {
    // A dialog may see WM_SIZE while it is being created, before
    // WM_INITDIALOG has made the status bar: there is nothing to lay out yet.
    if (windowState.statusBar == nullptr) {
        return;
    }
    RECT bar = {};
    GetWindowRect(windowState.statusBar, &bar);
    int barHeight = bar.bottom - bar.top;
    MoveWindow(windowState.statusBar, 0, height - barHeight, width, barHeight, TRUE);
    MoveWindow(windowState.reportView, 0, 0, width, height - barHeight, TRUE);
    int sourceEdge = width - scaledToDpi(ViewerPaneWidth, windowState.dpi);
    int leastEdge = scaledToDpi(LeastSourcePaneWidth, windowState.dpi);
    windowState.paneEdges[0] = sourceEdge < leastEdge ? leastEdge : sourceEdge;
    windowState.paneEdges[1] = -1;
    SendMessageA(windowState.statusBar, SB_SETPARTS, 2,
                 reinterpret_cast<LPARAM>(windowState.paneEdges));
    showViewerPane();
}

// The status bar makes its font at the system's DPI; a window on a monitor
// with another scale gives it one at its own.
void setStatusFont(int dpi) {
    HFONT font = createStatusFont(dpi);
    if (font == nullptr) {
        return;
    }
    SendMessageA(windowState.statusBar, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (windowState.statusFont != nullptr) {
        DeleteObject(windowState.statusFont);
    }
    windowState.statusFont = font;
    // The bar takes the height of its new font when told its size.
    SendMessageA(windowState.statusBar, WM_SIZE, 0, 0);
}

void layOut(HWND window) {
    RECT client = {};
    GetClientRect(window, &client);
    onSize(client.right, client.bottom);
}

// The settings start-up made the window with (its own data).
const WindowSettings& settingsOf(HWND window) {
    return *reinterpret_cast<const WindowSettings*>(GetWindowLongPtrA(window, DWLP_USER));
}

void onInitDialog(HWND window, const WindowSettings* settings) {
    SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(settings));
    windowState.mainWindow = window;
    windowState.dpi = windowDpi(window);
    keepDialogManagerFromScaling(window);
    setWindowIcons(window);
    installReportView(window);
    checkReportFont(windowState.reportView);
    windowState.statusBar = CreateStatusWindowA(WS_CHILD | WS_VISIBLE | CCS_BOTTOM | SBARS_SIZEGRIP,
                                                "", window, IDC_STATUS_BAR);
    if (windowState.dpi != systemDpi()) {
        setStatusFont(windowState.dpi);
    }
    loadViewerIcons();
    windowState.menu = GetMenu(window);
    windowState.fileMenu = GetSubMenu(windowState.menu, 0);
    readReportBackground();
    if (viewerState.on) {
        // Start-up asked for viewer mode; the join's first notification
        // decodes the clipboard.
        joinViewerChain(window);
    } else if (settings->startupFileName == nullptr) {
        // Posted, so the clipboard is decoded once the window is on screen.
        PostMessageA(window, WM_COMMAND, IDM_PROCESS_CLIPBOARD, 0);
    }
    if (settings->startupFileName != nullptr) {
        loadLogFile(settings->startupFileName, settings->text);
    }
    PostMessageA(windowState.reportView, EM_SETSEL, 0, 0);
    // Not every system sends a WM_SIZE after WM_INITDIALOG.
    layOut(window);
}

// The window moved to a monitor with another scale (or the scale changed):
// fonts and icons again at the new DPI, then the size Windows suggests.
void onDpiChanged(HWND window, int dpi, const RECT* suggested) {
    int previousDpi = windowState.dpi;
    windowState.dpi = dpi;
    rescaleReportFont(windowState.reportView, previousDpi, dpi);
    setStatusFont(dpi);
    // The bar shows the old icons until the layout gives it the new ones.
    HICON oldOn = windowState.viewerOnIcon;
    HICON oldOff = windowState.viewerOffIcon;
    windowState.viewerOnIcon = nullptr;
    windowState.viewerOffIcon = nullptr;
    loadViewerIcons();
    SetWindowPos(window, nullptr, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // Also when the suggested size is the current one, so no WM_SIZE came.
    layOut(window);
    destroyViewerIcons(oldOn, oldOff);
}

BOOL onCommand(HWND window, int id) {
    const TextSettings& text = settingsOf(window).text;
    switch (id) {
        case IDM_SAVE_REPORT:
            saveReport(window, text.style.prefix);
            return TRUE;
        case IDM_LOAD_LOG_FILE:
            openLogFile(window, text);
            return TRUE;
        case IDM_PROCESS_CLIPBOARD:
            processClipboard(text);
            return TRUE;
        case IDM_SELECT_ALL:
            SendMessageA(windowState.reportView, EM_SETSEL, 0, -1);
            return TRUE;
        case IDM_ABOUT:
            showAboutBox(window);
            return TRUE;
        case IDM_CLIPBOARD_VIEWER:
            toggleViewerMode(window);
            return TRUE;
        case IDM_CLOSE:
            DestroyWindow(window);
            return TRUE;
        default:
            return FALSE;
    }
}

void onMenuSelect(WPARAM wParam, LPARAM lParam) {
    MenuHelp(WM_MENUSELECT, wParam, lParam, windowState.menu, startupState.instance,
             windowState.statusBar, windowState.menuHelpIds);
}

BOOL onNotify(HWND window, const NMHDR* header) {
    if (header->idFrom != IDC_STATUS_BAR || header->code != static_cast<UINT>(NM_CLICK) ||
        reinterpret_cast<const NMMOUSE*>(header)->dwItemSpec != 1) {
        return FALSE;
    }
    SendMessageA(window, WM_COMMAND, IDM_CLIPBOARD_VIEWER, 0);
    return TRUE;
}

void onDropFiles(HDROP drop, const TextSettings& text) {
    // One byte more than the name may take, so the name stays terminated
    // whatever the shell writes.
    char name[PathBufferSize + 1] = {};
    DragQueryFileA(drop, 0, name, PathBufferSize);
    loadLogFile(name, text);
    DragFinish(drop);
}

INT_PTR onControlColour(HDC dc, HWND control) {
    if (control != windowState.reportView || control == nullptr) {
        return FALSE;
    }
    // A read-only edit asks with WM_CTLCOLORSTATIC and would get the grey
    // dialog colour; the report reads better on the window colour.
    SetBkColor(dc, windowState.background);
    return reinterpret_cast<INT_PTR>(windowState.backgroundBrush);
}

void onDestroy(HWND window) {
    PostQuitMessage(0);
    if (viewerState.on) {
        leaveViewerChain(window);
    }
    // Destroys the pop-up menus with it, the File menu among them.
    DestroyMenu(windowState.menu);
    windowState.menu = nullptr;
    windowState.fileMenu = nullptr;
    destroyViewerIcons(windowState.viewerOnIcon, windowState.viewerOffIcon);
    windowState.viewerOnIcon = nullptr;
    windowState.viewerOffIcon = nullptr;
    // The controls draw no more once their parent is being destroyed.
    releaseReportFont();
    if (windowState.statusFont != nullptr) {
        DeleteObject(windowState.statusFont);
        windowState.statusFont = nullptr;
    }
    // The controls go after this message; the edit control still needs its
    // own procedure until then, so only the handles are forgotten.
    windowState.mainWindow = nullptr;
    windowState.reportView = nullptr;
    windowState.statusBar = nullptr;
}

}  // namespace

INT_PTR CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            onInitDialog(window, reinterpret_cast<const WindowSettings*>(lParam));
            return TRUE;
        case WM_SIZE:
            onSize(LOWORD(lParam), HIWORD(lParam));
            return FALSE;
        case WM_COMMAND:
            return onCommand(window, LOWORD(wParam));
        case WM_MENUSELECT:
            onMenuSelect(wParam, lParam);
            return FALSE;
        case WM_NOTIFY:
            return onNotify(window, reinterpret_cast<const NMHDR*>(lParam));
        case WM_DROPFILES:
            onDropFiles(reinterpret_cast<HDROP>(wParam), settingsOf(window).text);
            return TRUE;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
            return onControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_DPICHANGED:
            onDpiChanged(window, LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
            return TRUE;
        case WM_SYSCOLORCHANGE:
            readReportBackground();
            return FALSE;
        case WM_CLOSE:
            DestroyWindow(window);
            return TRUE;
        case WM_DESTROY:
            onDestroy(window);
            return FALSE;
        case WM_DRAWCLIPBOARD:
            onDrawClipboard(window, wParam, lParam);
            return FALSE;
        case WM_CHANGECBCHAIN:
            onChangeClipboardChain(wParam, lParam);
            return FALSE;
        default:
            return FALSE;
    }
}

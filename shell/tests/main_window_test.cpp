// The main window driven with real messages: start-up actions, layout,
// commands, accelerators, menu help, the status bar click, dropped files,
// colours and a change of DPI.
#include "main_window.h"

#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "command_ids.h"
#include "dpi_scaling.h"
#include "log_files.h"
#include "message_buffer.h"
#include "report_display.h"
#include "shell_test_support.h"
#include "startup.h"
#include "viewer_mode.h"

namespace {

class MainWindow : public MainWindowTest {};

TEST_F(MainWindow, DecodesTheClipboardOnceAfterItIsShown) {
    createWindow();
    EXPECT_EQ(reportText(), "") << "the decode is posted, not run during creation";
    pumpMessages(window_);
    EXPECT_EQ(reportText(), ExampleReport);
    EXPECT_EQ(paneText(0), "Report from clipboard");
    EXPECT_EQ(paneText(1), "Clipboard Viewer Off");
    EXPECT_FALSE(viewerState.on);
}

TEST_F(MainWindow, StartupFileIsDecodedInsteadOfTheClipboard) {
    std::string log = temp_.write("call.log", ExampleLog);
    setClipboardText("hello");
    settings_.startupFileName = log.c_str();
    createWindow();
    pumpMessages(window_);
    EXPECT_EQ(reportText(), ExampleReport);
    EXPECT_EQ(paneText(0), log);
}

TEST_F(MainWindow, ViewerModeAtStartJoinsTheChainAndDecodes) {
    viewerState.on = true;
    createWindow();
    EXPECT_EQ(reportText(), ExampleReport) << "the join notification decodes at once";
    EXPECT_TRUE(viewerState.on);
    EXPECT_EQ(GetClipboardViewer(), window_);
    EXPECT_TRUE(GetMenuState(windowState.fileMenu, IDM_CLIPBOARD_VIEWER, MF_BYCOMMAND) &
                MF_CHECKED);
    pumpMessages(window_);
    EXPECT_EQ(paneText(1), "Clipboard Viewer On");
}

// Past a text or an ordinal in a dialog template.
const BYTE* skipTextOrOrdinal(const BYTE* p) {
    if (p[0] == 0xFF && p[1] == 0xFF) {
        return p + 4;
    }
    for (; p[0] != 0 || p[1] != 0; p += 2) {
    }
    return p + 2;
}

DWORD readDword(const BYTE* p) {
    DWORD value = 0;
    std::memcpy(&value, p, sizeof value);
    return value;
}

// A control's style as the main window's template (DLGTEMPLATEEX) holds it:
// the edit control changes its own border once it exists.
DWORD templateStyle(DWORD controlId) {
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(IDD_MAIN_WINDOW), RT_DIALOG);
    const auto* base = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
    const int count = base[16] | base[17] << 8;
    const BYTE* p = skipTextOrOrdinal(skipTextOrOrdinal(skipTextOrOrdinal(base + 26)));
    if (readDword(base + 12) & DS_SETFONT) {
        p = skipTextOrOrdinal(p + 6);  // size, weight, italic, charset, face
    }
    for (int i = 0; i < count; ++i) {
        p = base + (p - base + 3) / 4 * 4;
        if (readDword(p + 20) == controlId) {
            return readDword(p + 8);
        }
        p = skipTextOrOrdinal(skipTextOrOrdinal(p + 24));  // class, text
        p += 2 + (p[0] | p[1] << 8);                       // creation data
    }
    return 0;
}

// The report view's frame is its client edge alone: the resource compiler
// gives an EDITTEXT a border unless told not to.
TEST_F(MainWindow, ReportViewTemplateHasNoBorder) {
    const DWORD style = templateStyle(IDC_REPORT_VIEW);
    const DWORD wanted = WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY;
    EXPECT_EQ(style & wanted, wanted) << "the report view is found";
    EXPECT_EQ(style & WS_BORDER, 0u);
}

// Not every system sends a WM_SIZE after WM_INITDIALOG.
INT_PTR CALLBACK withoutSizeMessages(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return message == WM_SIZE ? FALSE : mainWindowProc(window, message, wParam, lParam);
}

TEST_F(MainWindow, LaysItselfOutWithoutASizeMessage) {
    window_ =
        CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN_WINDOW), nullptr,
                           withoutSizeMessages, reinterpret_cast<LPARAM>(&settings_));
    ASSERT_NE(window_, nullptr);
    RECT client = {};
    RECT bar = {};
    RECT view = {};
    GetClientRect(window_, &client);
    GetWindowRect(windowState.statusBar, &bar);
    GetWindowRect(reportView(), &view);
    EXPECT_EQ(view.right - view.left, client.right);
    EXPECT_EQ(view.bottom - view.top, client.bottom - (bar.bottom - bar.top));
    EXPECT_EQ(SendMessageA(windowState.statusBar, SB_GETPARTS, 0, 0), 2);
    EXPECT_EQ(paneText(1), "Clipboard Viewer Off");
}

TEST_F(MainWindow, ResizingFillsTheClientAreaWithViewAndBar) {
    createWindow();
    const SIZE sizes[] = {{400, 300}, {180, 200}, {900, 600}};
    for (const SIZE& size : sizes) {
        SCOPED_TRACE(size.cx);
        RECT frame = {0, 0, size.cx, size.cy};
        AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(window_, GWL_STYLE)), TRUE,
                           static_cast<DWORD>(GetWindowLongA(window_, GWL_EXSTYLE)));
        SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                     SWP_NOMOVE | SWP_NOZORDER);
        RECT client = {};
        GetClientRect(window_, &client);
        ASSERT_EQ(client.right, size.cx);
        RECT bar = {};
        RECT view = {};
        GetWindowRect(windowState.statusBar, &bar);
        GetWindowRect(reportView(), &view);
        EXPECT_EQ(view.right - view.left, client.right);
        EXPECT_EQ(bar.right - bar.left, client.right);
        EXPECT_EQ(view.bottom - view.top, client.bottom - (bar.bottom - bar.top));
        EXPECT_EQ(bar.top, view.bottom) << "the bar sits right under the view";
        int edges[2] = {};
        SendMessageA(windowState.statusBar, SB_GETPARTS, 2, reinterpret_cast<LPARAM>(edges));
        EXPECT_EQ(edges[0], size.cx - 150 < 50 ? 50 : size.cx - 150);
    }
}

TEST_F(MainWindow, LayoutShowsTheViewerPaneForTheCurrentMode) {
    createWindow();
    SendMessageA(window_, WM_SIZE, 0, MAKELPARAM(400, 300));
    EXPECT_EQ(SendMessageA(windowState.statusBar, SB_GETICON, 1, 0),
              reinterpret_cast<LRESULT>(windowState.viewerOffIcon));
    EXPECT_NE(windowState.viewerOffIcon, nullptr);
    viewerState.on = true;  // as if toggled while the pane was not yet there
    SendMessageA(window_, WM_SIZE, 0, MAKELPARAM(400, 300));
    EXPECT_EQ(paneText(1), "Clipboard Viewer On");
    EXPECT_EQ(SendMessageA(windowState.statusBar, SB_GETICON, 1, 0),
              reinterpret_cast<LRESULT>(windowState.viewerOnIcon));
    viewerState.on = false;
}

TEST_F(MainWindow, ProcessClipboardReplacesTheReportWhateverItFinds) {
    createWindow();
    pumpMessages(window_);
    struct Case {
        const char* name;
        bool text;
        std::string clipboard;
        std::string report;
    };
    const Case cases[] = {
        {"no text", false, "", "no text data in clipboard available!\r\n"},
        {"text without a block", true, "hello", "no statistics data in clipboard available!\r\n"},
        {"a report", true, ExampleLog, ExampleReport},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SendMessageA(windowState.statusBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>("old"));
        if (c.text) {
            setClipboardText(c.clipboard);
        } else {
            setClipboardNonText();
        }
        SendMessageA(window_, WM_COMMAND, IDM_PROCESS_CLIPBOARD, 0);
        EXPECT_EQ(reportText(), c.report);
        EXPECT_EQ(std::string(messageBufferText()), c.report);
        EXPECT_EQ(paneText(0), "Report from clipboard");
    }
}

TEST_F(MainWindow, OkAndCancelCommandsChangeNothing) {
    createWindow();
    pumpMessages(window_);
    const WPARAM ids[] = {IDOK, IDCANCEL, MAKEWPARAM(IDOK, BN_CLICKED), 12345};
    for (WPARAM id : ids) {
        SCOPED_TRACE(id);
        SendMessageA(window_, WM_COMMAND, id, 0);
        EXPECT_TRUE(IsWindow(window_));
        EXPECT_EQ(reportText(), ExampleReport);
    }
}

TEST_F(MainWindow, CloseCommandAndCloseBoxDestroyTheWindowAndPostQuit) {
    const UINT messages[] = {WM_COMMAND, WM_CLOSE};
    for (UINT message : messages) {
        SCOPED_TRACE(message);
        createWindow();
        SendMessageA(window_, message, message == WM_COMMAND ? IDM_CLOSE : 0, 0);
        EXPECT_FALSE(IsWindow(window_));
        MSG quit;
        ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
        EXPECT_EQ(quit.wParam, 0u);
        EXPECT_EQ(windowState.menu, nullptr);
        EXPECT_EQ(windowState.viewerOnIcon, nullptr);
        pumpMessages();
    }
}

TEST_F(MainWindow, SelectAllSelectsTheWholeReport) {
    createWindow();
    pumpMessages(window_);
    SendMessageA(window_, WM_COMMAND, IDM_SELECT_ALL, 0);
    DWORD start = 1;
    DWORD end = 0;
    SendMessageA(reportView(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, std::string(ExampleReport).size());
}

TEST_F(MainWindow, HugeReportIsShownWhole) {
    createWindow();
    pumpMessages(window_);
    emptyMessageBuffer();
    std::string line(100, 'x');
    for (int i = 0; i < 2000; ++i) {
        appendText(line + "\r\n");
    }
    showMessageBuffer();
    EXPECT_EQ(reportText().size(), 2000u * 102u);
    EXPECT_GE(static_cast<std::size_t>(SendMessageA(reportView(), EM_GETLIMITTEXT, 0, 0)),
              messageBufferLength())
        << "the copy's offsets rely on the view holding the whole buffer";
}

// Records the main window's commands instead of running them.
std::vector<int> recordedCommands;
WNDPROC dialogWindowProc = nullptr;

LRESULT CALLBACK recordCommands(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        recordedCommands.push_back(LOWORD(wParam));
        return 0;
    }
    return CallWindowProcA(dialogWindowProc, window, message, wParam, lParam);
}

void pressKey(HWND target, HWND mainWindow, HACCEL accelerators, UINT key, bool ctrl, bool shift) {
    BYTE keys[256] = {};
    keys[VK_CONTROL] = ctrl ? 0x80 : 0;
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    PostMessageA(target, WM_KEYDOWN, key, 1);
    pumpMessages(mainWindow, accelerators);
    BYTE released[256] = {};
    SetKeyboardState(released);
}

TEST_F(MainWindow, AcceleratorsReachTheMainWindowFromTheReportView) {
    createWindow();
    pumpMessages(window_);
    HACCEL accelerators =
        LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_ACCELERATORS));
    ASSERT_NE(accelerators, nullptr);
    ACCEL entries[16] = {};
    ASSERT_EQ(CopyAcceleratorTableA(accelerators, entries, 16), 8);
    for (const ACCEL& entry : entries) {
        if (entry.cmd != 0) {
            EXPECT_EQ(entry.fVirt & (FVIRTKEY | FNOINVERT), FVIRTKEY | FNOINVERT) << entry.cmd;
        }
    }
    dialogWindowProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(recordCommands)));
    SetFocus(reportView());
    struct Case {
        const char* name;
        UINT key;
        bool ctrl;
        bool shift;
        int command;  // 0: none
    };
    const Case cases[] = {
        {"Ctrl+S", 'S', true, false, IDM_SAVE_REPORT},
        {"Ctrl+L", 'L', true, false, IDM_LOAD_LOG_FILE},
        {"Ctrl+V", 'V', true, false, IDM_PROCESS_CLIPBOARD},
        {"F5", VK_F5, false, false, IDM_PROCESS_CLIPBOARD},
        {"Shift+Insert", VK_INSERT, false, true, IDM_PROCESS_CLIPBOARD},
        {"Ctrl+A", 'A', true, false, IDM_SELECT_ALL},
        {"F1", VK_F1, false, false, IDM_ABOUT},
        {"F3", VK_F3, false, false, IDM_CLIPBOARD_VIEWER},
        {"V alone", 'V', false, false, 0},
        {"Insert alone", VK_INSERT, false, false, 0},
        {"F2", VK_F2, false, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        recordedCommands.clear();
        pressKey(reportView(), window_, accelerators, c.key, c.ctrl, c.shift);
        if (c.command == 0) {
            EXPECT_TRUE(recordedCommands.empty());
        } else {
            EXPECT_EQ(recordedCommands, std::vector<int>{c.command});
        }
    }
    SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(dialogWindowProc));
    DestroyAcceleratorTable(accelerators);
}

TEST_F(MainWindow, MenuHelpShowsTheItemsTextAndClosingRestoresThePanes) {
    createWindow();
    pumpMessages(window_);
    struct Case {
        int id;
        const char* help;
    };
    const Case cases[] = {
        {IDM_CLOSE, "Close program"},
        {IDM_SAVE_REPORT, "Save the decoded report to file..."},
        {IDM_LOAD_LOG_FILE, "Load modem statistics from file and decode..."},
        {IDM_PROCESS_CLIPBOARD, "Decode modem statistics from clipboard"},
        {IDM_CLIPBOARD_VIEWER, "Toggle clipboard viewer mode"},
        {IDM_ABOUT, "About Veltrano Statistics"},
        {IDM_SELECT_ALL, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        SendMessageA(window_, WM_MENUSELECT, MAKEWPARAM(c.id, MF_STRING),
                     reinterpret_cast<LPARAM>(windowState.fileMenu));
        EXPECT_TRUE(SendMessageA(windowState.statusBar, SB_ISSIMPLE, 0, 0));
        EXPECT_EQ(paneText(0), c.help) << "in simple mode pane 0 is the single pane";
        SendMessageA(window_, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
        EXPECT_FALSE(SendMessageA(windowState.statusBar, SB_ISSIMPLE, 0, 0));
        EXPECT_EQ(paneText(0), "Report from clipboard");
        EXPECT_EQ(paneText(1), "Clipboard Viewer Off");
    }
}

NMMOUSE statusClick(int item) {
    NMMOUSE click = {};
    click.hdr.hwndFrom = windowState.statusBar;
    click.hdr.idFrom = IDC_STATUS_BAR;
    click.hdr.code = static_cast<UINT>(NM_CLICK);
    click.dwItemSpec = static_cast<DWORD_PTR>(item);
    return click;
}

TEST_F(MainWindow, ClickOnTheViewerPaneTogglesViewerMode) {
    createWindow();
    pumpMessages(window_);
    NMMOUSE onSource = statusClick(0);
    SendMessageA(window_, WM_NOTIFY, IDC_STATUS_BAR, reinterpret_cast<LPARAM>(&onSource));
    EXPECT_FALSE(viewerState.on);
    NMMOUSE onViewer = statusClick(1);
    NMMOUSE otherCode = onViewer;
    otherCode.hdr.code = static_cast<UINT>(NM_DBLCLK);
    SendMessageA(window_, WM_NOTIFY, IDC_STATUS_BAR, reinterpret_cast<LPARAM>(&otherCode));
    EXPECT_FALSE(viewerState.on);
    SendMessageA(window_, WM_NOTIFY, IDC_STATUS_BAR, reinterpret_cast<LPARAM>(&onViewer));
    EXPECT_TRUE(viewerState.on);
    EXPECT_EQ(paneText(1), "Clipboard Viewer On");
    SendMessageA(window_, WM_NOTIFY, IDC_STATUS_BAR, reinterpret_cast<LPARAM>(&onViewer));
    EXPECT_FALSE(viewerState.on);
    EXPECT_EQ(paneText(1), "Clipboard Viewer Off");
}

HDROP makeDrop(const std::vector<std::string>& names) {
    std::string list;
    for (const std::string& name : names) {
        list += name + '\0';
    }
    list += '\0';
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + list.size());
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = FALSE;
    std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(), list.size());
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

TEST_F(MainWindow, DroppingFilesDecodesOnlyTheFirst) {
    createWindow();
    pumpMessages(window_);
    std::string first = temp_.write("first.log", "DIAG <2A4D3263 60=3C>\r\nOK\r\n");
    std::string second = temp_.write("second.log", ExampleLog);
    HDROP drop = makeDrop({first, second, temp_.path("missing.log")});
    SendMessageA(window_, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    EXPECT_EQ(reportText(), "Termination Cause              : Carrier Lost\r\n");
    EXPECT_EQ(paneText(0), first);
    EXPECT_TRUE(recordedBoxes.empty());
    EXPECT_EQ(std::string(logFileState.openDialogName), "") << "a drop is not an open-dialog name";
}

// Explorer drops names in UTF-16; the source pane shows them whole in our
// code page (UTF-8 by the manifest).
TEST_F(MainWindow, DroppedNameInAnyScriptIsShownWhole) {
    createWindow();
    pumpMessages(window_);
    const std::string name =
        temp_.write("\xd0\x94\xd0\xbc-\xe6\x97\xa5\xe6\x9c\xac.log", ExampleLog);
    wchar_t wide[MAX_PATH] = {};
    MultiByteToWideChar(CP_UTF8, 0, name.c_str(), -1, wide, MAX_PATH);
    const std::size_t bytes = (wcslen(wide) + 2) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + bytes);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::memcpy(drop + 1, wide, bytes - 2 * sizeof(wchar_t));
    GlobalUnlock(memory);
    SendMessageA(window_, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
    EXPECT_EQ(reportText(), ExampleReport);
    EXPECT_EQ(paneText(0), name);
    EXPECT_TRUE(recordedBoxes.empty());
}

TEST_F(MainWindow, ReportViewIsPaintedWithTheWindowColour) {
    createWindow();
    HDC dc = GetDC(window_);
    SetBkColor(dc, RGB(1, 2, 3));
    const UINT messages[] = {WM_CTLCOLORSTATIC, WM_CTLCOLOREDIT};
    for (UINT message : messages) {
        SCOPED_TRACE(message);
        LRESULT brush = SendMessageA(window_, message, reinterpret_cast<WPARAM>(dc),
                                     reinterpret_cast<LPARAM>(reportView()));
        EXPECT_EQ(brush, reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW)));
        EXPECT_EQ(GetBkColor(dc), GetSysColor(COLOR_WINDOW));
        SetBkColor(dc, RGB(1, 2, 3));
        EXPECT_EQ(mainWindowProc(window_, message, reinterpret_cast<WPARAM>(dc),
                                 reinterpret_cast<LPARAM>(windowState.statusBar)),
                  FALSE);
        EXPECT_EQ(GetBkColor(dc), RGB(1, 2, 3)) << "other controls keep their colours";
    }
    ReleaseDC(window_, dc);
}

// A dialog procedure's own result says whether the dialog manager should
// still run its default handling; SendMessage does not show it.
TEST_F(MainWindow, ProcedureReportsWhichMessagesItHandled) {
    createWindow();
    pumpMessages(window_);
    struct Case {
        const char* name;
        UINT message;
        WPARAM wParam;
        INT_PTR result;
    };
    const Case cases[] = {
        {"Select All", WM_COMMAND, IDM_SELECT_ALL, TRUE},
        {"Process Clipboard from an accelerator", WM_COMMAND, MAKEWPARAM(IDM_PROCESS_CLIPBOARD, 1),
         TRUE},
        {"IDOK", WM_COMMAND, IDOK, FALSE},
        {"IDCANCEL", WM_COMMAND, IDCANCEL, FALSE},
        {"unknown command", WM_COMMAND, 12345, FALSE},
        {"size", WM_SIZE, 0, FALSE},
        {"colours changed", WM_SYSCOLORCHANGE, 0, FALSE},
        {"unhandled message", WM_USER + 7, 0, FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(mainWindowProc(window_, c.message, c.wParam, MAKELPARAM(400, 300)), c.result);
        EXPECT_TRUE(IsWindow(window_));
    }
}

TEST_F(MainWindow, SystemColourChangeRereadsTheBackground) {
    createWindow();
    windowState.background = RGB(9, 9, 9);
    windowState.backgroundBrush = nullptr;
    SendMessageA(window_, WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(windowState.background, GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(windowState.backgroundBrush, GetSysColorBrush(COLOR_WINDOW));
}

int iconWidth(HICON icon) {
    ICONINFO info = {};
    BITMAP bits = {};
    if (GetIconInfo(icon, &info)) {
        GetObjectA(info.hbmColor, sizeof bits, &bits);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
    return bits.bmWidth;
}

LONG fontHeight(HWND control) {
    LOGFONTA font = {};
    GetObjectA(reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof font,
               &font);
    return font.lfHeight;
}

// As when the window is dragged to a monitor with another scale, and back.
TEST_F(MainWindow, DpiChangeTakesTheSuggestedRectangleAndScalesWhatIsInPixels) {
    createWindow();
    ASSERT_EQ(windowState.dpi, 96) << "the tests' Wine prefix runs at 96 DPI";
    const LONG height96 = fontHeight(reportView());
    const struct {
        int dpi;
        RECT suggested;
        int icon;
    } cases[] = {{144, {30, 20, 930, 620}, 24},
                 // Well inside the tests' 1280 x 800 screen, which the window
                 // manager keeps a frame within, in its own time.
                 {192, {20, 30, 1100, 730}, 32},
                 {120, {40, 40, 790, 540}, 20},
                 {96, {50, 60, 650, 460}, 16}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dpi);
        RECT frame = c.suggested;
        EXPECT_EQ(mainWindowProc(window_, WM_DPICHANGED, MAKEWPARAM(c.dpi, c.dpi),
                                 reinterpret_cast<LPARAM>(&frame)),
                  TRUE);
        GetWindowRect(window_, &frame);
        EXPECT_TRUE(EqualRect(&frame, &c.suggested));
        EXPECT_EQ(fontHeight(reportView()), MulDiv(height96, c.dpi, 96));
        EXPECT_EQ(iconWidth(windowState.viewerOffIcon), c.icon);
        EXPECT_EQ(SendMessageA(windowState.statusBar, SB_GETICON, 1, 0),
                  reinterpret_cast<LRESULT>(windowState.viewerOffIcon));
        RECT client = {};
        GetClientRect(window_, &client);
        int edges[2] = {};
        SendMessageA(windowState.statusBar, SB_GETPARTS, 2, reinterpret_cast<LPARAM>(edges));
        EXPECT_EQ(edges[0], client.right - MulDiv(150, c.dpi, 96));
        SendMessageA(window_, WM_SIZE, 0, MAKELPARAM(60, 300));  // narrower than the least edge
        SendMessageA(windowState.statusBar, SB_GETPARTS, 2, reinterpret_cast<LPARAM>(edges));
        EXPECT_EQ(edges[0], MulDiv(50, c.dpi, 96));
    }
}

}  // namespace

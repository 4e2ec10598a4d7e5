// probe: looks at a running vexa from another process, the way the UI tests
// need it. It finds windows by title, reads texts with WM_GETTEXT and the
// status bar's panes through memory borrowed inside vexa's own process,
// because pointer-carrying common-control messages are not marshalled.
// Output is written raw, so CR LF in the report can be compared byte for byte.
// Exit codes: 0 done, 10 what was asked for is not there (yet), 11 vexa's
// window or control is missing; anything else comes from Wine itself.
//
//   probe wait-window TITLE SECONDS   exit 0 once a visible window has TITLE
//   probe wait-gone TITLE SECONDS     exit 0 once no visible window has TITLE
//   probe report                      the report view's text
//   probe source                      WM_GETTEXT of the status bar (pane 0)
//   probe pane N                      SB_GETTEXTA of pane N (in simple mode,
//                                     Wine gives the simple text for any N)
//   probe parts                       the pane edges, "e0 e1"
//   probe simple                      1 while the status bar is in simple mode
//   probe box CAPTION                 a message box's text
//   probe about                       the About box's three texts, one a line
//   probe sel                         the report view's selection, "start end"
//   probe focus                       control id holding vexa's keyboard focus
//   probe enabled                     1 while the main window takes input
//   probe geometry                    client size and the controls' rectangles
//   probe clipboard                   the clipboard's CF_TEXT, exit 1 without text
//   probe windows                     visible top-level windows, for debugging
#include <windows.h>
#include <commctrl.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char MainTitle[] = "Veltrano Diagnostics";
const int ReportViewId = 1000;
const int StatusBarId = 1001;
const UINT Timeout = 3000;
const int NotThere = 10;
const int Missing = 11;

struct Search {
    const char* title;
    HWND found;
};

BOOL CALLBACK matchTitle(HWND window, LPARAM param) {
    Search* search = reinterpret_cast<Search*>(param);
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    if (IsWindowVisible(window) && std::strcmp(text, search->title) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND findVisible(const char* title) {
    Search search = {title, nullptr};
    EnumWindows(matchTitle, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND mainWindow() {
    HWND window = findVisible(MainTitle);
    if (!window) {
        std::fprintf(stderr, "probe: no window \"%s\"\n", MainTitle);
        std::exit(Missing);
    }
    return window;
}

HWND control(HWND parent, int id) {
    HWND child = GetDlgItem(parent, id);
    if (!child) {
        std::fprintf(stderr, "probe: no control %d\n", id);
        std::exit(Missing);
    }
    return child;
}

std::string windowText(HWND window) {
    DWORD_PTR length = 0;
    SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, Timeout, &length);
    std::vector<char> text(length + 1, '\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, Timeout, &copied);
    return std::string(text.data(), copied);
}

void put(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
}

// A block of memory inside the process that owns a window: common controls
// write their answers there, and the probe reads them back.
class RemoteBlock {
public:
    explicit RemoteBlock(HWND window) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_)
            address_ = VirtualAllocEx(process_, nullptr, Size, MEM_COMMIT, PAGE_READWRITE);
        if (!address_) {
            std::fprintf(stderr, "probe: no memory in the target process\n");
            std::exit(Missing);
        }
    }
    ~RemoteBlock() {
        VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        CloseHandle(process_);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;

    LPARAM address() const { return reinterpret_cast<LPARAM>(address_); }
    std::vector<char> read() const {
        std::vector<char> data(Size, '\0');
        SIZE_T got = 0;
        ReadProcessMemory(process_, address_, data.data(), data.size(), &got);
        return data;
    }

    static const SIZE_T Size = 4096;

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
};

std::string paneText(HWND bar, int pane) {
    RemoteBlock block(bar);
    DWORD_PTR result = 0;
    SendMessageTimeoutA(bar, SB_GETTEXTLENGTHA, pane, 0, SMTO_ABORTIFHUNG, Timeout, &result);
    if (LOWORD(result) >= RemoteBlock::Size) {
        std::fprintf(stderr, "probe: pane text too long\n");
        std::exit(Missing);
    }
    SendMessageTimeoutA(bar, SB_GETTEXTA, pane, block.address(), SMTO_ABORTIFHUNG, Timeout, &result);
    std::vector<char> data = block.read();
    return std::string(data.data(), LOWORD(result));
}

int waitFor(const char* title, double seconds, bool present) {
    DWORD deadline = GetTickCount() + static_cast<DWORD>(seconds * 1000);
    for (;;) {
        if ((findVisible(title) != nullptr) == present)
            return 0;
        if (static_cast<LONG>(GetTickCount() - deadline) >= 0)
            return NotThere;
        Sleep(50);
    }
}

BOOL CALLBACK listWindow(HWND window, LPARAM) {
    if (!IsWindowVisible(window))
        return TRUE;
    char title[256] = "", kind[256] = "";
    GetWindowTextA(window, title, sizeof title);
    GetClassNameA(window, kind, sizeof kind);
    std::printf("%s\t%s\n", kind, title);
    return TRUE;
}

void printRect(const char* name, HWND window, HWND clientOf) {
    RECT rect;
    GetWindowRect(window, &rect);
    if (clientOf)
        MapWindowPoints(nullptr, clientOf, reinterpret_cast<POINT*>(&rect), 2);
    std::printf("%s=%ld %ld %ld %ld\n", name, rect.left, rect.top, rect.right, rect.bottom);
}

// The clipboard as Windows programs see it, CR LF and all; the X side
// gets the text with its line ends rewritten.
int printClipboard() {
    for (int attempt = 0; !OpenClipboard(nullptr); ++attempt) {
        if (attempt == 40)
            return Missing;
        Sleep(50);
    }
    int result = NotThere;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* text = static_cast<const char*>(GlobalLock(data))) {
            put(text);
            GlobalUnlock(data);
            result = 0;
        }
    }
    CloseClipboard();
    return result;
}

int usage() {
    std::fprintf(stderr, "usage: probe wait-window|wait-gone|report|source|pane|parts|simple|box|"
                         "about|sel|focus|enabled|geometry|clipboard|windows ...\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc < 2)
        return usage();
    std::string command = argv[1];

    if ((command == "wait-window" || command == "wait-gone") && argc == 4)
        return waitFor(argv[2], std::atof(argv[3]), command == "wait-window");
    if (command == "clipboard")
        return printClipboard();
    if (command == "windows") {
        EnumWindows(listWindow, 0);
        return 0;
    }
    if (command == "box" && argc == 3) {
        HWND box = findVisible(argv[2]);
        if (!box)
            return NotThere;
        // Message boxes keep their text in a static control with id 0xFFFF.
        put(windowText(control(box, 0xFFFF)));
        return 0;
    }
    if (command == "about") {
        HWND box = findVisible("About");
        if (!box)
            return NotThere;
        for (int id = 1002; id <= 1004; ++id)
            put(windowText(control(box, id)) + "\n");
        return 0;
    }

    HWND window = mainWindow();
    HWND view = control(window, ReportViewId);
    HWND bar = control(window, StatusBarId);
    if (command == "report") {
        put(windowText(view));
    } else if (command == "source") {
        put(windowText(bar));
    } else if (command == "pane" && argc == 3) {
        put(paneText(bar, std::atoi(argv[2])));
    } else if (command == "parts") {
        RemoteBlock block(bar);
        DWORD_PTR count = 0;
        SendMessageTimeoutA(bar, SB_GETPARTS, 8, block.address(), SMTO_ABORTIFHUNG, Timeout, &count);
        std::vector<char> data = block.read();
        const int* edges = reinterpret_cast<const int*>(data.data());
        for (DWORD_PTR i = 0; i < count && i < 8; ++i)
            std::printf(i ? " %d" : "%d", edges[i]);
        std::printf("\n");
    } else if (command == "simple") {
        DWORD_PTR simple = 0;
        SendMessageTimeoutA(bar, SB_ISSIMPLE, 0, 0, SMTO_ABORTIFHUNG, Timeout, &simple);
        std::printf("%d\n", simple ? 1 : 0);
    } else if (command == "sel") {
        DWORD_PTR range = 0;
        SendMessageTimeoutA(view, EM_GETSEL, 0, 0, SMTO_ABORTIFHUNG, Timeout, &range);
        std::printf("%u %u\n", LOWORD(range), HIWORD(range));
    } else if (command == "focus") {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) || !info.hwndFocus)
            std::printf("none\n");
        else if (info.hwndFocus == window)
            std::printf("main\n");
        else
            std::printf("%d\n", GetDlgCtrlID(info.hwndFocus));
    } else if (command == "enabled") {
        std::printf("%d\n", IsWindowEnabled(window) ? 1 : 0);
    } else if (command == "geometry") {
        RECT client;
        GetClientRect(window, &client);
        std::printf("client=%ld %ld\n", client.right, client.bottom);
        printRect("window", window, nullptr);
        printRect("view", view, window);
        printRect("bar", bar, window);
        printRect("bar-screen", bar, nullptr);
    } else {
        return usage();
    }
    return 0;
}

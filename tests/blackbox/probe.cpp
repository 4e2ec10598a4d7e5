// probe: looks at a running vexa from another process, the way the UI tests
// need it. It finds windows by title, reads texts with WM_GETTEXT and the
// status bar's panes through memory borrowed inside vexa's own process,
// because pointer-carrying common-control messages are not marshalled.
// Output is written raw, so CR LF in the report can be compared byte for byte.
//
// Results: 0 done, 10 what was asked for is not there (yet), 11 vexa's window
// or control is missing. Run with a command, the result is the exit code;
// anything else comes from Wine itself.
//
//   probe wait-window TITLE SECONDS   0 once a visible window has TITLE
//   probe wait-gone TITLE SECONDS     0 once no visible window has TITLE
//   probe report                      the report view's text (this and
//                                     every window text in UTF-8)
//   probe source                      WM_GETTEXT of the status bar (pane 0)
//   probe pane N                      SB_GETTEXTA of pane N (in simple mode,
//                                     Wine gives the simple text for any N)
//   probe parts                       the pane edges, "e0 e1"
//   probe simple                      1 while the status bar is in simple mode
//   probe box CAPTION                 a message box's text
//   probe about                       the About box's three texts, one a line
//   probe text TITLE ID               the text of control ID in window TITLE
//   probe set-text TITLE ID TEXT      sets it, from UTF-8 (what xdotool
//                                     cannot type)
//   probe sel                         the report view's selection, "start end"
//   probe focus                       control id holding vexa's keyboard focus
//   probe enabled                     1 while the main window takes input
//   probe geometry                    client size and the controls' rectangles
//   probe clipboard                   the clipboard's CF_TEXT
//   probe copy FORMAT HEX             puts the bytes HEX on the clipboard as
//                                     another program would: FORMAT "text"
//                                     is CF_TEXT, "unicode" CF_UNICODETEXT
//                                     from UTF-8, any other a registered
//                                     format of that name
//   probe sequence                    the clipboard's change count; asking
//                                     leaves the clipboard free for others
//   probe foreground                  the title of Wine's foreground window
//   probe windows                     visible top-level windows, for debugging
//   probe setting KEY NAME [VALUE]    sets (#N: a number) or deletes a value
//                                     under HKEY_CURRENT_USER
//   probe pos INDEX...                the report view's "x y" of each
//                                     character, one a line
//   probe serve                       commands from standard input, one a line
//                                     with TAB between the words; each answer
//                                     is "RESULT LENGTH\n" and LENGTH bytes.
//                                     Starting Wine for every question costs
//                                     far more than the question.
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
const int Done = 0;
const int NotThere = 10;
const int Missing = 11;

// Thrown when vexa's window or one of its controls is not there.
struct MissingPart {
    std::string what;
};

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

HWND control(HWND parent, int id) {
    HWND child = GetDlgItem(parent, id);
    if (!child)
        throw MissingPart{"no control " + std::to_string(id)};
    return child;
}

// In UTF-8, whatever the code pages of the probe and of the window.
std::string windowText(HWND window) {
    DWORD_PTR length = 0;
    SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, Timeout, &length);
    std::vector<wchar_t> text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, Timeout, &copied);
    const int wide = static_cast<int>(copied);
    std::string utf8(static_cast<std::size_t>(wide) * 3, '\0');
    utf8.resize(static_cast<std::size_t>(WideCharToMultiByte(
        CP_UTF8, 0, text.data(), wide, &utf8[0], static_cast<int>(utf8.size()), nullptr, nullptr)));
    return utf8;
}

DWORD_PTR sendTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, Timeout, &result);
    return result;
}

// A block of memory inside the process that owns a window: common controls
// write their answers there, and the probe reads them back.
class RemoteBlock {
  public:
    explicit RemoteBlock(HWND window) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        process_ =
            OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_)
            address_ = VirtualAllocEx(process_, nullptr, Size, MEM_COMMIT, PAGE_READWRITE);
        if (!address_) {
            if (process_)
                CloseHandle(process_);
            throw MissingPart{"no memory in the target process"};
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
    DWORD_PTR length = LOWORD(sendTo(bar, SB_GETTEXTLENGTHA, pane, 0));
    if (length >= RemoteBlock::Size)
        throw MissingPart{"pane text too long"};
    RemoteBlock block(bar);
    DWORD_PTR copied = LOWORD(sendTo(bar, SB_GETTEXTA, pane, block.address()));
    std::vector<char> data = block.read();
    return std::string(data.data(), copied);
}

std::string paneEdges(HWND bar) {
    RemoteBlock block(bar);
    DWORD_PTR count = sendTo(bar, SB_GETPARTS, 8, block.address());
    std::vector<char> data = block.read();
    std::vector<int> edges(8);
    std::memcpy(edges.data(), data.data(), edges.size() * sizeof(int));
    std::string text;
    for (DWORD_PTR i = 0; i < count && i < edges.size(); ++i)
        text += (i ? " " : "") + std::to_string(edges[i]);
    return text + "\n";
}

int waitFor(const char* title, double seconds, bool present) {
    DWORD deadline = GetTickCount() + static_cast<DWORD>(seconds * 1000);
    for (;;) {
        if ((findVisible(title) != nullptr) == present)
            return Done;
        if (static_cast<LONG>(GetTickCount() - deadline) >= 0)
            return NotThere;
        Sleep(50);
    }
}

BOOL CALLBACK listWindow(HWND window, LPARAM param) {
    if (!IsWindowVisible(window))
        return TRUE;
    char title[256] = "", kind[256] = "";
    GetWindowTextA(window, title, sizeof title);
    GetClassNameA(window, kind, sizeof kind);
    *reinterpret_cast<std::string*>(param) += std::string(kind) + "\t" + title + "\n";
    return TRUE;
}

std::string rectLine(const char* name, HWND window, HWND clientOf) {
    RECT rect;
    GetWindowRect(window, &rect);
    if (clientOf)
        MapWindowPoints(nullptr, clientOf, reinterpret_cast<POINT*>(&rect), 2);
    char line[128];
    std::snprintf(line, sizeof line, "%s=%ld %ld %ld %ld\n", name, rect.left, rect.top, rect.right,
                  rect.bottom);
    return line;
}

// Waits while another program holds the clipboard open; only the probe
// waits, so no program under test ever finds it taken for long.
void openClipboard() {
    for (int attempt = 0; !OpenClipboard(nullptr); ++attempt) {
        if (attempt == 1200)
            throw MissingPart{"the clipboard stays open"};
        Sleep(50);
    }
}

// The clipboard as Windows programs see it, CR LF and all; the X side
// gets the text with its line ends rewritten.
int readClipboard(std::string& out) {
    openClipboard();
    int result = NotThere;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* text = static_cast<const char*>(GlobalLock(data))) {
            out = text;
            GlobalUnlock(data);
            result = Done;
        }
    }
    CloseClipboard();
    return result;
}

// Wine's clipboard manager (in the desktop process) empties the clipboard
// once when it starts, to take in the X selection, and only then serves
// messages: a copy made before would be lost. (A new desktop process, once
// the last program on the desktop ended, starts a new manager.)
bool clipboardManagerReady() {
    for (int attempt = 0; attempt < 1200; ++attempt) {
        HWND manager = FindWindowExA(HWND_MESSAGE, nullptr, "__wine_clipboard_manager", nullptr);
        DWORD_PTR ignored = 0;
        if (manager && SendMessageTimeoutA(manager, WM_NULL, 0, 0, SMTO_BLOCK, 60000, &ignored))
            return true;
        Sleep(50);
    }
    return false;
}

// Straight onto the Windows clipboard: through the X selection, Wine drops a
// change when its clipboard thread finds the clipboard open or waits more
// than half a second for the owner's answer, as it does in the emulated
// machine.
int writeClipboard(const std::string& format, const std::string& hex) {
    if (!clipboardManagerReady())
        throw MissingPart{"Wine's clipboard manager does not start"};
    std::string data;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        data += static_cast<char>(std::strtoul(hex.substr(i, 2).c_str(), nullptr, 16));
    UINT id = CF_TEXT;
    if (format == "text") {
        data += '\0';
    } else if (format == "unicode") {
        std::wstring wide(data.size() + 1, L'\0');
        wide.resize(static_cast<std::size_t>(
            MultiByteToWideChar(CP_UTF8, 0, data.data(), static_cast<int>(data.size()), &wide[0],
                                static_cast<int>(wide.size()))));
        data.assign(reinterpret_cast<const char*>(wide.c_str()), (wide.size() + 1) * 2);
        id = CF_UNICODETEXT;
    } else {
        id = RegisterClipboardFormatA(format.c_str());
    }
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, data.size() + 1);
    if (!block)
        throw MissingPart{"no memory for the clipboard"};
    std::memcpy(GlobalLock(block), data.data(), data.size());
    GlobalUnlock(block);
    openClipboard();
    EmptyClipboard();
    bool placed = SetClipboardData(id, block) != nullptr;
    CloseClipboard();
    if (!placed) {
        GlobalFree(block);
        throw MissingPart{"the clipboard refused the data"};
    }
    return Done;
}

int focusedControl(HWND window, std::string& out) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) || !info.hwndFocus)
        out = "none\n";
    else if (info.hwndFocus == window)
        out = "main\n";
    else
        out = std::to_string(GetDlgCtrlID(info.hwndFocus)) + "\n";
    return Done;
}

int usage(std::string& out) {
    out =
        "usage: probe wait-window|wait-gone|report|source|pane|parts|simple|box|about|sel|"
        "focus|enabled|geometry|clipboard|copy|sequence|text|set-text|windows|setting|pos|serve "
        "...\n";
    return Missing;
}

// A value under HKEY_CURRENT_USER: "#N" a number, else a text; none deletes it.
int setSetting(const std::vector<std::string>& args) {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, args[1].c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                    nullptr);
    const char* name = args[2].c_str();
    const std::string value = args.size() == 4 ? args[3] : "";
    DWORD number = std::strtoul(value.c_str() + (value.empty() ? 0 : 1), nullptr, 10);
    LONG result = ERROR_SUCCESS;  // a value that is not there is deleted
    if (value.empty())
        RegDeleteValueA(key, name);
    else if (value[0] == '#')
        result = RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<BYTE*>(&number), 4);
    else
        result = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? Done : Missing;
}

// The report view's "x y" of each character index.
int characterPositions(const std::vector<std::string>& args, std::string& out) {
    HWND window = findVisible(MainTitle);
    if (!window)
        return NotThere;
    HWND view = control(window, ReportViewId);
    for (std::size_t i = 1; i < args.size(); ++i) {
        DWORD_PTR at = sendTo(view, EM_POSFROMCHAR, std::atoi(args[i].c_str()), 0);
        out += std::to_string(static_cast<short>(LOWORD(at))) + " " +
               std::to_string(static_cast<short>(HIWORD(at))) + "\n";
    }
    return Done;
}

// One command; its answer goes to out.
int runCommand(const std::vector<std::string>& args, std::string& out) {
    const std::string& command = args[0];
    if (command == "setting" && (args.size() == 3 || args.size() == 4))
        return setSetting(args);
    if (command == "pos")
        return characterPositions(args, out);
    if ((command == "wait-window" || command == "wait-gone") && args.size() == 3)
        return waitFor(args[1].c_str(), std::atof(args[2].c_str()), command == "wait-window");
    if (command == "windows") {
        EnumWindows(listWindow, reinterpret_cast<LPARAM>(&out));
        return Done;
    }
    if (command == "clipboard")
        return readClipboard(out);
    if (command == "copy" && args.size() == 3)
        return writeClipboard(args[1], args[2]);
    if (command == "sequence") {
        out = std::to_string(GetClipboardSequenceNumber()) + "\n";
        return Done;
    }
    if (command == "foreground") {
        out = windowText(GetForegroundWindow()) + "\n";
        return Done;
    }
    if (command == "box" && args.size() == 2) {
        HWND box = findVisible(args[1].c_str());
        if (!box)
            return NotThere;
        // Message boxes keep their text in a static control with id 0xFFFF.
        out = windowText(control(box, 0xFFFF));
        return Done;
    }
    if (command == "text" && args.size() == 3) {
        HWND dialog = findVisible(args[1].c_str());
        if (!dialog)
            return NotThere;
        out = windowText(control(dialog, std::atoi(args[2].c_str())));
        return Done;
    }
    if (command == "set-text" && args.size() == 4) {
        HWND dialog = findVisible(args[1].c_str());
        if (!dialog)
            return NotThere;
        std::wstring text(args[3].size() + 1, L'\0');
        text.resize(static_cast<std::size_t>(MultiByteToWideChar(
            CP_UTF8, 0, args[3].c_str(), -1, &text[0], static_cast<int>(text.size()))));
        SendMessageTimeoutW(control(dialog, std::atoi(args[2].c_str())), WM_SETTEXT, 0,
                            reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, Timeout,
                            nullptr);
        return Done;
    }
    if (command == "about") {
        HWND box = findVisible("About");
        if (!box)
            return NotThere;
        for (int id = 1002; id <= 1004; ++id)
            out += windowText(control(box, id)) + "\n";
        return Done;
    }

    HWND window = findVisible(MainTitle);
    if (!window)
        throw MissingPart{std::string("no window \"") + MainTitle + "\""};
    HWND view = control(window, ReportViewId);
    HWND bar = control(window, StatusBarId);
    if (command == "report") {
        out = windowText(view);
    } else if (command == "source") {
        out = windowText(bar);
    } else if (command == "pane" && args.size() == 2) {
        out = paneText(bar, std::atoi(args[1].c_str()));
    } else if (command == "parts") {
        out = paneEdges(bar);
    } else if (command == "simple") {
        out = sendTo(bar, SB_ISSIMPLE, 0, 0) ? "1\n" : "0\n";
    } else if (command == "sel") {
        DWORD_PTR range = sendTo(view, EM_GETSEL, 0, 0);
        out = std::to_string(LOWORD(range)) + " " + std::to_string(HIWORD(range)) + "\n";
    } else if (command == "focus") {
        return focusedControl(window, out);
    } else if (command == "enabled") {
        out = IsWindowEnabled(window) ? "1\n" : "0\n";
    } else if (command == "geometry") {
        RECT client;
        GetClientRect(window, &client);
        out = "client=" + std::to_string(client.right) + " " + std::to_string(client.bottom) + "\n";
        out += rectLine("window", window, nullptr);
        out += rectLine("view", view, window);
        out += rectLine("bar", bar, window);
        out += rectLine("bar-screen", bar, nullptr);
    } else {
        return usage(out);
    }
    return Done;
}

int answer(const std::vector<std::string>& args, std::string& out) {
    try {
        return runCommand(args, out);
    } catch (const MissingPart& missing) {
        out = "probe: " + missing.what + "\n";
        return Missing;
    }
}

int serve() {
    char line[4096];
    while (std::fgets(line, sizeof line, stdin)) {
        std::vector<std::string> args;
        std::string word;
        for (const char* c = line; *c && *c != '\n'; ++c) {
            if (*c == '\t') {
                args.push_back(word);
                word.clear();
            } else if (*c != '\r') {
                word += *c;
            }
        }
        args.push_back(word);
        std::string out;
        int result = answer(args, out);
        std::printf("%d %u\n", result, static_cast<unsigned>(out.size()));
        std::fwrite(out.data(), 1, out.size(), stdout);
        std::fflush(stdout);
    }
    return Done;
}

}  // namespace

int main(int argc, char** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stdin), _O_BINARY);
    if (argc == 2 && std::strcmp(argv[1], "serve") == 0)
        return serve();
    std::string out;
    int result =
        argc < 2 ? usage(out) : answer(std::vector<std::string>(argv + 1, argv + argc), out);
    std::fwrite(out.data(), 1, out.size(), result == Missing ? stderr : stdout);
    return result;
}

// Test helpers shared by the shell tests.
#include "shell_test_support.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>

#include "command_ids.h"
#include "log_files.h"
#include "main_window.h"
#include "message_boxes.h"
#include "message_buffer.h"
#include "report_header.h"
#include "startup.h"
#include "viewer_mode.h"

const char ExampleLog[] = "AT*VXD\r\nDIAG <2A4D3263 0=10 1=0 2=0 3=0 11=1A 10=1C 60=3C>\r\nOK\r\n";
const char ExampleReport[] =
    "Diag Command Specification rev.: 1.0\r\n"
    "Call Setup Result code         : No previous call\r\n"
    "Multi-media mode               : Data Only\r\n"
    "DTE-DCE interface mode         : Async data\r\n"
    "TX/RX signal power level, -dBm : 26/28\r\n"
    "Termination Cause              : Carrier Lost\r\n";

std::string copiedHeader() {
    return std::string(VersionBanner) + "\r\n" + NoticeLine + "\r\n" + RuleLine + "\r\n";
}

std::vector<RecordedBox> recordedBoxes;

void clearRecordedBoxes() {
    recordedBoxes.clear();
}

int recordMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
    recordedBoxes.push_back({owner, caption, text, type});
    return IDOK;
}

void pumpMessages(HWND mainWindow, HACCEL accelerators) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message != WM_QUIT) {
            handleLoopMessage(&message, mainWindow, accelerators);
        }
    }
}

namespace {

void replaceClipboard(UINT format, const void* bytes, std::size_t size) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(GlobalLock(memory), bytes, size);
    GlobalUnlock(memory);
    EXPECT_NE(SetClipboardData(format, memory), nullptr);
    CloseClipboard();
}

}  // namespace

void setClipboardText(const std::string& text) {
    replaceClipboard(CF_TEXT, text.c_str(), text.size() + 1);
}

void setClipboardNonText() {
    static const char picture[] = "not text";
    replaceClipboard(RegisterClipboardFormatA("Vexa Test Picture"), picture, sizeof picture);
}

std::string clipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr)) {
        ADD_FAILURE() << "clipboard busy";
        return text;
    }
    HANDLE data = GetClipboardData(CF_TEXT);
    if (data != nullptr) {
        text = static_cast<const char*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

TempFolder::TempFolder() {
    char base[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, base);
    char name[MAX_PATH] = {};
    GetTempFileNameA(base, "vx", 0, name);
    DeleteFileA(name);
    CreateDirectoryA(name, nullptr);
    folder_ = name;
}

TempFolder::~TempFolder() {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder_ + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            DeleteFileA(path(found.cFileName).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder_.c_str());
}

std::string TempFolder::path(const std::string& name) const {
    return folder_ + "\\" + name;
}

std::string TempFolder::write(const std::string& name, const std::string& bytes) const {
    std::string full = path(name);
    std::FILE* file = std::fopen(full.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    return full;
}

std::string readFileBytes(const std::string& path) {
    std::string bytes;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return "<missing>";
    }
    char chunk[512];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        bytes.append(chunk, got);
    }
    std::fclose(file);
    return bytes;
}

std::string windowText(HWND window) {
    LRESULT length = SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    SendMessageA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

std::string paneText(int pane) {
    char text[512] = {};
    SendMessageA(windowState.statusBar, SB_GETTEXTA, static_cast<WPARAM>(pane),
                 reinterpret_cast<LPARAM>(text));
    return text;
}

namespace {

BOOL WINAPI cancelDialog(OPENFILENAMEA*) {
    return FALSE;
}

}  // namespace

namespace {

const MessageBoxFunction realMessageBox = showMessageBox;
const FileDialogFunction realSaveDialog = runSaveDialog;
const FileDialogFunction realOpenDialog = runOpenDialog;

}  // namespace

void MainWindowTest::SetUp() {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    ASSERT_TRUE(createMessageBuffer());
    startupState.instance = GetModuleHandleA(nullptr);
    viewerState = ViewerState();
    logFileState = LogFileState();
    showMessageBox = recordMessageBox;
    runSaveDialog = cancelDialog;
    runOpenDialog = cancelDialog;
    clearRecordedBoxes();
    setClipboardText(ExampleLog);
}

void MainWindowTest::TearDown() {
    closeWindow();
    releaseMessageBuffer();
    showMessageBox = realMessageBox;
    runSaveDialog = realSaveDialog;
    runOpenDialog = realOpenDialog;
}

HWND MainWindowTest::createWindow() {
    window_ = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN_WINDOW),
                                 nullptr, mainWindowProc, reinterpret_cast<LPARAM>(&settings_));
    EXPECT_NE(window_, nullptr);
    return window_;
}

void MainWindowTest::closeWindow() {
    if (window_ != nullptr && IsWindow(window_)) {
        DestroyWindow(window_);
    }
    window_ = nullptr;
    pumpMessages();
}

HWND MainWindowTest::reportView() const {
    return GetDlgItem(window_, IDC_REPORT_VIEW);
}

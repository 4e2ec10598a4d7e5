// The whole start-up, message loop and shut-down, run by runProgram as
// WinMain runs it, with the settings file next to the test program.
#include "startup.h"

#include <gtest/gtest.h>

#include <string>

#include "command_ids.h"
#include "main_window.h"
#include "message_boxes.h"
#include "shell_test_support.h"
#include "viewer_mode.h"

namespace {

const char Usage[] =
    "Usage: vexa [+prefix | -prefix string | -noprefix] [-clipview | -noclipview] [file]";
const char NoStatistics[] = "no statistics data in clipboard available!\r\n";

// What the running program showed, read once its window is up.
struct Capture {
    bool seen = false;
    int viewerMode = -1;
    bool checked = false;
    std::string report;
    std::string source;
    std::string viewerPane;
};
Capture capture;

BOOL CALLBACK findMain(HWND window, LPARAM found) {
    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);
    if (std::string(title) == "Veltrano Diagnostics") {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// Runs from the program's own message loop, after the posted start-up
// messages, so the first report is already shown.
void CALLBACK captureAndClose(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND main = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findMain, reinterpret_cast<LPARAM>(&main));
    if (main == nullptr) {
        return;
    }
    KillTimer(nullptr, timer);
    capture.seen = true;
    capture.viewerMode = viewerState.on ? 1 : 0;
    capture.checked =
        (GetMenuState(windowState.fileMenu, IDM_CLIPBOARD_VIEWER, MF_BYCOMMAND) & MF_CHECKED) != 0;
    capture.report = windowText(windowState.reportView);
    capture.source = paneText(0);
    capture.viewerPane = paneText(1);
    PostMessageA(main, WM_CLOSE, 0, 0);
}

std::string prefixed(const std::string& prefix, const std::string& text) {
    std::string out;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\r\n", start) + 2;
        out += prefix + text.substr(start, end - start);
        start = end;
    }
    return out;
}

class StartupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        previousBox_ = showMessageBox;
        showMessageBox = recordMessageBox;
        clearRecordedBoxes();
        settings_ = settingsFilePath();
        DeleteFileA(settings_.c_str());
        viewerState = ViewerState();
        setClipboardText("hello");
        log_ = temp_.write("call.log", ExampleLog);
    }
    void TearDown() override {
        DeleteFileA(settings_.c_str());
        showMessageBox = previousBox_;
    }
    int run(const std::string& settings, const std::string& arguments) {
        DeleteFileA(settings_.c_str());
        if (!settings.empty()) {
            std::FILE* file = std::fopen(settings_.c_str(), "wb");
            std::fputs(settings.c_str(), file);
            std::fclose(file);
        }
        capture = Capture();
        UINT_PTR timer = SetTimer(nullptr, 0, 10, captureAndClose);
        int exitCode = runProgram(GetModuleHandleA(nullptr), arguments.c_str());
        KillTimer(nullptr, timer);
        return exitCode;
    }

    MessageBoxFunction previousBox_ = nullptr;
    std::string settings_;
    std::string log_;
    TempFolder temp_;
};

TEST_F(StartupTest, BadCommandLineShowsOnlyTheUsageBox) {
    const char* const cases[] = {"-h",          "/?",           "?x",
                                 "-prefix",     "+a -noprefix", "-clipview -noclipview",
                                 "a.log b.log", "-HELP"};
    for (const char* arguments : cases) {
        SCOPED_TRACE(arguments);
        clearRecordedBoxes();
        EXPECT_EQ(run("[Default]\r\nOpenFileName=x.log\r\n", arguments), 0);
        EXPECT_FALSE(capture.seen) << "no window may open";
        ASSERT_EQ(recordedBoxes.size(), 1u);
        EXPECT_EQ(recordedBoxes[0].owner, nullptr);
        EXPECT_EQ(recordedBoxes[0].caption, "vexa");
        EXPECT_EQ(recordedBoxes[0].text, Usage);
        EXPECT_EQ(recordedBoxes[0].type, UINT(MB_ICONINFORMATION | MB_SETFOREGROUND));
    }
}

TEST_F(StartupTest, SettingsAndCommandLineSeedTheFirstReport) {
    const std::string example = ExampleReport;
    struct Case {
        const char* name;
        std::string settings;
        std::string arguments;
        int viewerMode;
        std::string report;
        std::string source;
    };
    const std::string quotedLog = "\"" + log_ + "\"";
    const Case cases[] = {
        {"nothing: the clipboard once", "", "", 0, NoStatistics, "Report from clipboard"},
        {"file argument", "", quotedLog, 0, example, log_},
        {"file from the settings", "[Default]\r\nOpenFileName=" + log_ + "\r\n", "", 0, example,
         log_},
        {"argument wins over the setting", "[Default]\r\nOpenFileName=C:\\missing.log\r\n",
         quotedLog, 0, example, log_},
        {"viewer option", "", "-clipview", 1, NoStatistics, "Report from clipboard"},
        {"viewer setting", "[Default]\r\nClipboardViewer=1\r\n", "", 1, NoStatistics,
         "Report from clipboard"},
        {"option overrides viewer setting", "[Default]\r\nClipboardViewer=1\r\n", "-noclipview", 0,
         NoStatistics, "Report from clipboard"},
        {"prefix setting", "[Default]\r\nPrefix=#\r\n", "", 0, prefixed("# ", NoStatistics),
         "Report from clipboard"},
        {"noprefix beats the setting", "[Default]\r\nPrefix=#\r\n", "-noprefix", 0, NoStatistics,
         "Report from clipboard"},
        {"prefix option with a blank", "[Default]\r\nPrefix=#\r\n", "-prefix \"> \" " + quotedLog,
         0, prefixed(">  ", example), log_},
        {"bare plus", "", "+ " + quotedLog, 0, prefixed(" ", example), log_},
        {"viewer mode and a file", "", "-clipview " + quotedLog, 1, example, log_},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        clearRecordedBoxes();
        EXPECT_EQ(run(c.settings, c.arguments), 0);
        ASSERT_TRUE(capture.seen);
        EXPECT_EQ(capture.viewerMode, c.viewerMode);
        EXPECT_EQ(capture.checked, c.viewerMode == 1);
        EXPECT_EQ(capture.viewerPane,
                  c.viewerMode == 1 ? "Clipboard Viewer On" : "Clipboard Viewer Off");
        EXPECT_EQ(capture.report, c.report);
        EXPECT_EQ(capture.source, c.source);
        EXPECT_TRUE(recordedBoxes.empty());
        EXPECT_FALSE(viewerState.on) << "closing leaves the viewer chain";
    }
}

TEST_F(StartupTest, UnopenableStartupFileIsReportedAndNothingIsDecoded) {
    const char* const cases[] = {"-x", "\"\""};
    for (const char* arguments : cases) {
        SCOPED_TRACE(arguments);
        clearRecordedBoxes();
        EXPECT_EQ(run("", arguments), 0);
        ASSERT_TRUE(capture.seen);
        EXPECT_EQ(capture.report, "");
        EXPECT_EQ(capture.source, "");
        ASSERT_EQ(recordedBoxes.size(), 1u);
        EXPECT_EQ(recordedBoxes[0].caption, "Cannot open file");
        EXPECT_EQ(recordedBoxes[0].type, UINT(MB_OK | MB_ICONHAND));
    }
}

}  // namespace

// The report view's Copy (header plus selection, read back from the real
// clipboard) and Paste (decodes instead of inserting).
#include "report_copy.h"

#include <gtest/gtest.h>

#include <string>

#include "command_ids.h"
#include "log_files.h"
#include "main_window.h"
#include "message_buffer.h"
#include "report_display.h"
#include "report_header.h"
#include "shell_test_support.h"
#include "viewer_mode.h"

namespace {

class ReportView : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        createWindow();
        pumpMessages(window_);
    }
    LRESULT copy(int start, int end) {
        SendMessageA(reportView(), EM_SETSEL, static_cast<WPARAM>(start), end);
        return SendMessageA(reportView(), WM_COPY, 0, 0);
    }
};

TEST_F(ReportView, CopyPutsTheHeaderAndExactlyTheSelection) {
    const std::string report = ExampleReport;
    struct Case {
        const char* name;
        int start;
        int end;
        std::string selected;
    };
    const Case cases[] = {
        {"nothing selected", 5, 5, ""},
        {"inside one line", 5, 12, report.substr(5, 7)},
        {"across lines, ending inside one", 30, 60, report.substr(30, 30)},
        {"whole report", 0, -1, report},
        {"last character", static_cast<int>(report.size()) - 1, -1, "\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setClipboardText("old");
        EXPECT_EQ(copy(c.start, c.end), 1);
        EXPECT_EQ(clipboardText(), copiedHeader() + c.selected);
        ASSERT_TRUE(OpenClipboard(nullptr));
        EXPECT_EQ(GlobalSize(GetClipboardData(CF_TEXT)),
                  c.selected.size() + copiedHeader().size() + 4);
        CloseClipboard();
    }
}

TEST_F(ReportView, CopiedHeaderHasNoPrefixButReportLinesKeepTheirs) {
    settings_.text.style.prefix = "# ";
    std::string log = temp_.write("call.log", ExampleLog);
    loadLogFile(log.c_str(), settings_.text);
    copy(0, -1);
    std::string copied = clipboardText();
    EXPECT_EQ(copied.substr(0, copiedHeader().size()), copiedHeader());
    EXPECT_EQ(copied.substr(copiedHeader().size()), messageBufferText());
    EXPECT_EQ(copied.substr(copiedHeader().size(), 6), "# Diag");
}

TEST_F(ReportView, SelectAllThenCopyOfAHugeReportCopiesItWhole) {
    emptyMessageBuffer();
    for (int i = 0; i < 3000; ++i) {
        appendText("TX/RX chars sent               : 123456/654321\r\n");
    }
    showMessageBuffer();
    SendMessageA(window_, WM_COMMAND, IDM_SELECT_ALL, 0);
    SendMessageA(reportView(), WM_COPY, 0, 0);
    EXPECT_EQ(clipboardText(), copiedHeader() + messageBufferText());
}

TEST_F(ReportView, SelectionBeyondTheMessageBufferIsCutAtItsEnd) {
    // The view and the buffer disagree only if someone broke the rule that
    // the view shows the buffer; the copy must still stay inside the buffer.
    SetWindowTextA(reportView(), (std::string(ExampleReport) + "extra text").c_str());
    copy(0, -1);
    EXPECT_EQ(clipboardText(), copiedHeader() + ExampleReport);
}

// Our copy cannot open the clipboard, so the edit control's own copy runs:
// whatever it manages, the copied text never carries the header.
TEST_F(ReportView, ClipboardHeldElsewhereFallsBackToThePlainCopy) {
    setClipboardText("kept");
    HWND holder =
        CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(OpenClipboard(holder));
    copy(0, -1);
    CloseClipboard();
    DestroyWindow(holder);
    std::string copied = clipboardText();
    EXPECT_TRUE(copied == "kept" || copied == ExampleReport) << copied;
    EXPECT_FALSE(viewerState.ignoreNextChange);
}

TEST_F(ReportView, CopyInViewerModeIsNotDecodedAgain) {
    SendMessageA(window_, WM_COMMAND, IDM_CLIPBOARD_VIEWER, 0);
    ASSERT_TRUE(viewerState.on);
    copy(5, 12);
    EXPECT_EQ(reportText(), ExampleReport) << "the copied text was not decoded";
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(reportView(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 5u);
    EXPECT_EQ(end, 12u);
    EXPECT_FALSE(viewerState.ignoreNextChange) << "cleared by the change it covered";
    setClipboardText("hello");
    EXPECT_EQ(reportText(), "no statistics data in clipboard available!\r\n");
    SendMessageA(window_, WM_COMMAND, IDM_CLIPBOARD_VIEWER, 0);
}

TEST_F(ReportView, CopyWithViewerModeOffLeavesTheFlagClear) {
    copy(0, 4);
    EXPECT_FALSE(viewerState.ignoreNextChange);
}

TEST_F(ReportView, PasteDecodesTheClipboardInsteadOfInserting) {
    setClipboardText("hello");
    EXPECT_EQ(SendMessageA(reportView(), WM_PASTE, 0, 0), 1);
    EXPECT_EQ(reportText(), "no statistics data in clipboard available!\r\n");
    EXPECT_EQ(paneText(0), "Report from clipboard");
}

}  // namespace

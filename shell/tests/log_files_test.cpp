// Loading log files and saving reports, through the real window with the
// file dialogs answered by the test.
#include "log_files.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "command_ids.h"
#include "main_window.h"
#include "message_buffer.h"
#include "report_header.h"
#include "settings.h"
#include "shell_test_support.h"

namespace {

// What a dialog was asked, and the path it answers with ("" = cancel).
struct DialogCall {
    DWORD size;
    HWND owner;
    std::string filter;
    DWORD filterIndex;
    std::string proposed;
    DWORD capacity;
    DWORD flags;
    std::string defaultExtension;
    bool noTitleOrFolder;
};
std::vector<DialogCall> dialogCalls;
std::string dialogAnswer;

BOOL WINAPI answerDialog(OPENFILENAMEA* request) {
    DialogCall call;
    call.size = request->lStructSize;
    call.owner = request->hwndOwner;
    const char* filter = request->lpstrFilter;
    while (*filter != '\0') {
        call.filter += std::string(filter) + '|';
        filter += std::strlen(filter) + 1;
    }
    call.filterIndex = request->nFilterIndex;
    call.proposed = request->lpstrFile;
    call.capacity = request->nMaxFile;
    call.flags = request->Flags;
    call.defaultExtension = request->lpstrDefExt != nullptr ? request->lpstrDefExt : "<none>";
    call.noTitleOrFolder = request->lpstrTitle == nullptr && request->lpstrInitialDir == nullptr &&
                           request->lpstrFileTitle == nullptr && request->lpfnHook == nullptr;
    dialogCalls.push_back(call);
    if (dialogAnswer.empty()) {
        return FALSE;
    }
    std::strcpy(request->lpstrFile, dialogAnswer.c_str());
    return TRUE;
}

class LogFiles : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        runSaveDialog = answerDialog;
        runOpenDialog = answerDialog;
        dialogCalls.clear();
        dialogAnswer.clear();
        createWindow();
        pumpMessages(window_);
    }
    void save(const std::string& path) {
        dialogAnswer = path;
        SendMessageA(window_, WM_COMMAND, IDM_SAVE_REPORT, 0);
    }
    void open(const std::string& path) {
        dialogAnswer = path;
        SendMessageA(window_, WM_COMMAND, IDM_LOAD_LOG_FILE, 0);
    }
    void TearDown() override {
        closeSavedFile = realClose_;
        MainWindowTest::TearDown();
    }
    std::string header(const std::string& prefix) const {
        return prefix + VersionBanner + "\r\n" + prefix + NoticeLine + "\r\n" + prefix + RuleLine +
               "\r\n";
    }
    const CloseFileFunction realClose_ = closeSavedFile;
};

const char ShownFilter[] = "Log Files (*.log)|*.log|All Files (*.*)|*.*|";

TEST_F(LogFiles, SaveWritesTheHeaderThenTheShownReport) {
    std::string path = temp_.path("saved.log");
    save(path);
    ASSERT_EQ(dialogCalls.size(), 1u);
    const DialogCall& call = dialogCalls[0];
    EXPECT_EQ(call.size, DWORD(OPENFILENAME_SIZE_VERSION_400A));
    if (sizeof(void*) == 4) {
        EXPECT_EQ(call.size, 76u);
    }
    EXPECT_EQ(call.owner, window_);
    EXPECT_EQ(call.filter, ShownFilter);
    EXPECT_EQ(call.filterIndex, 1u);
    EXPECT_EQ(call.proposed, "");
    EXPECT_EQ(call.capacity, PathBufferSize) << "a name of MAX_PATH characters in UTF-8";
    EXPECT_EQ(call.flags, 0x8C02u);
    EXPECT_EQ(call.defaultExtension, "log");
    EXPECT_TRUE(call.noTitleOrFolder);
    EXPECT_EQ(readFileBytes(path), header("") + ExampleReport);
    EXPECT_TRUE(recordedBoxes.empty());
}

TEST_F(LogFiles, SaveBeforeAnyReportWritesOnlyTheHeader) {
    SetWindowTextA(reportView(), "");
    std::string path = temp_.path("empty.log");
    save(path);
    EXPECT_EQ(readFileBytes(path), header(""));
}

TEST_F(LogFiles, SaveWritesThePrefixInFrontOfEachHeaderLine) {
    settings_.text.style.prefix = "> ";
    std::string log = temp_.write("call.log", ExampleLog);
    loadLogFile(log.c_str(), settings_.text);
    std::string path = temp_.path("prefixed.log");
    save(path);
    std::string saved = readFileBytes(path);
    EXPECT_EQ(saved.substr(0, header("> ").size()), header("> "));
    EXPECT_EQ(saved.substr(header("> ").size()), windowText(reportView()));
    EXPECT_EQ(saved.substr(header("> ").size(), 38), "> Diag Command Specification rev.: 1.0");
}

TEST_F(LogFiles, SaveCancelledWritesNothingAndSecondSaveProposesTheFirstName) {
    save("");
    EXPECT_TRUE(recordedBoxes.empty());
    std::string path = temp_.path("again.log");
    save(path);
    save(path);
    ASSERT_EQ(dialogCalls.size(), 3u);
    EXPECT_EQ(dialogCalls[2].proposed, path);
    open("");
    EXPECT_EQ(dialogCalls[3].proposed, "") << "the open dialog keeps its own name";
}

TEST_F(LogFiles, FileThatCannotBeCreatedIsReported) {
    save(temp_.path("no-such-folder\\x.log"));
    ASSERT_EQ(recordedBoxes.size(), 1u);
    EXPECT_EQ(recordedBoxes[0].caption, "Cannot create file");
    EXPECT_EQ(recordedBoxes[0].text, std::strerror(ENOENT));
    EXPECT_EQ(recordedBoxes[0].type, UINT(MB_OK | MB_ICONHAND));
    EXPECT_EQ(recordedBoxes[0].owner, reportView());
}

// Z:\dev\full is Linux's /dev/full as Wine shows it: it opens like a file,
// and every write to it fails with "disk full".
TEST_F(LogFiles, FullDiskIsReportedOnce) {
    save("Z:\\dev\\full");
    ASSERT_EQ(recordedBoxes.size(), 1u);
    EXPECT_EQ(recordedBoxes[0].caption, "cannot save file");
    EXPECT_EQ(recordedBoxes[0].text, std::strerror(ENOSPC));
    EXPECT_EQ(recordedBoxes[0].owner, reportView());
}

int closeLikeAFullDisk(std::FILE* file) {
    std::fclose(file);
    errno = ENOSPC;
    return EOF;
}

TEST_F(LogFiles, FailureMetOnlyWhenClosingIsReported) {
    closeSavedFile = closeLikeAFullDisk;
    std::string path = temp_.path("closing.log");
    save(path);
    closeSavedFile = realClose_;
    ASSERT_EQ(recordedBoxes.size(), 1u);
    EXPECT_EQ(recordedBoxes[0].caption, "cannot save file");
    EXPECT_EQ(recordedBoxes[0].text, std::strerror(ENOSPC));
    EXPECT_EQ(readFileBytes(path), header("") + ExampleReport) << "what was written stays";
}

TEST_F(LogFiles, FullDiskMetWhileWritingIsReportedOnce) {
    emptyMessageBuffer();
    std::string line(120, 'x');
    for (int i = 0; i < 200; ++i) {
        appendText(line + "\r\n");
    }
    SetWindowTextA(reportView(), messageBufferText());
    save("Z:\\dev\\full");
    ASSERT_EQ(recordedBoxes.size(), 1u) << "the failed close after a failed write adds no box";
    EXPECT_EQ(recordedBoxes[0].caption, "cannot save file");
}

TEST_F(LogFiles, OpenDialogLoadsTheChosenFile) {
    setClipboardText("hello");
    SendMessageA(window_, WM_COMMAND, IDM_PROCESS_CLIPBOARD, 0);
    std::string log = temp_.write("call.log", ExampleLog);
    open(log);
    ASSERT_EQ(dialogCalls.size(), 1u);
    EXPECT_EQ(dialogCalls[0].flags, 0x1C01u);
    EXPECT_EQ(dialogCalls[0].filter, ShownFilter);
    EXPECT_EQ(dialogCalls[0].defaultExtension, "log");
    EXPECT_EQ(dialogCalls[0].owner, window_);
    EXPECT_EQ(reportText(), ExampleReport);
    EXPECT_EQ(paneText(0), log);
    open(log);
    EXPECT_EQ(dialogCalls[1].proposed, log);
    save("");
    EXPECT_EQ(dialogCalls[2].proposed, "") << "an opened name is not proposed for saving";
}

TEST_F(LogFiles, FailedLoadChangesNothing) {
    std::string before = reportText();
    std::string missing = temp_.path("missing.log");
    open(missing);
    ASSERT_EQ(recordedBoxes.size(), 1u);
    EXPECT_EQ(recordedBoxes[0].caption, "Cannot open file");
    EXPECT_EQ(recordedBoxes[0].text, std::strerror(ENOENT));
    EXPECT_EQ(reportText(), before);
    EXPECT_EQ(std::string(messageBufferText()), before);
    EXPECT_EQ(paneText(0), "Report from clipboard");
}

TEST_F(LogFiles, LogHeldOpenForWritingCannotBeLoaded) {
    std::string log = temp_.write("busy.log", ExampleLog);
    HANDLE writer = CreateFileA(log.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    loadLogFile(log.c_str(), settings_.text);
    CloseHandle(writer);
    ASSERT_EQ(recordedBoxes.size(), 1u);
    EXPECT_EQ(recordedBoxes[0].caption, "Cannot open file");
    EXPECT_EQ(paneText(0), "Report from clipboard");
}

TEST_F(LogFiles, TextModeEndsTheInputAtCtrlZ) {
    std::string log = temp_.write("ctrlz.log", "DIAG <2A4D3263 0=10 \x1A 1=0 60=3C>\r\nOK\r\n");
    loadLogFile(log.c_str(), settings_.text);
    EXPECT_EQ(reportText(), "Diag Command Specification rev.: 1.0\r\n");
}

TEST_F(LogFiles, LogWithoutBlocksStillNamesTheFile) {
    std::string log = temp_.write("empty.log", "nothing here\r\n");
    loadLogFile(log.c_str(), settings_.text);
    EXPECT_EQ(reportText(), "no recognizable data found!\r\n");
    EXPECT_EQ(paneText(0), log);
}

}  // namespace

// Helpers for the in-process tests of the Windows program: the real main
// window made from the test program's own resources, message pumping that
// never waits blindly, the real clipboard, temporary files, and recorders
// for the message-box and file-dialog seams.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "main_window.h"
#include "shell_state.h"

// The worked example: one block and the report it decodes to.
extern const char ExampleLog[];
extern const char ExampleReport[];

// The three header lines as copied (no prefix), each ended by CR LF.
std::string copiedHeader();

struct RecordedBox {
    HWND owner;
    std::string caption;
    std::string text;
    UINT type;
};
// Boxes shown since the last clearRecordedBoxes(); every box answers IDOK.
extern std::vector<RecordedBox> recordedBoxes;
void clearRecordedBoxes();
int recordMessageBox(HWND owner, const char* text, const char* caption, UINT type);

// Runs the message loop's body on everything queued, then returns.
void pumpMessages(HWND mainWindow = nullptr, HACCEL accelerators = nullptr);

// Clipboard contents as a test sets and reads them.
void setClipboardText(const std::string& text);
void setClipboardNonText();
std::string clipboardText();  // "" when there is no text

// Files in a fresh temporary folder, removed with the fixture.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    std::string path(const std::string& name) const;
    std::string write(const std::string& name, const std::string& bytes) const;

  private:
    std::string folder_;
    std::vector<std::string> written_;
};
std::string readFileBytes(const std::string& path);

// Texts of the running window.
std::string windowText(HWND window);
std::string paneText(int pane);

// The real main window, created as start-up creates it, over a message
// buffer of its own; the seams are replaced for the test's duration.
class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the window; posted start-up messages are left in the queue.
    HWND createWindow();
    void closeWindow();
    std::string reportText() const { return windowText(reportView()); }
    HWND reportView() const;

    HWND window_ = nullptr;
    WindowSettings settings_;  // what the window is made with
    TempFolder temp_;
};

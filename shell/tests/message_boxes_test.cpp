// The system-error and file-error boxes: caption, body and owner.
#include "message_boxes.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "main_window.h"
#include "shell_test_support.h"

namespace {

class MessageBoxes : public MainWindowTest {};

TEST_F(MessageBoxes, SystemErrorBoxShowsThePlatformsTextForTheLastError) {
    windowState.reportView = nullptr;
    SetLastError(ERROR_FILE_NOT_FOUND);
    showSystemErrorBox("cannot create window");
    ASSERT_EQ(recordedBoxes.size(), 1u);
    EXPECT_EQ(recordedBoxes[0].owner, nullptr);
    EXPECT_EQ(recordedBoxes[0].caption, "cannot create window");
    EXPECT_EQ(recordedBoxes[0].type, UINT(MB_OK | MB_ICONHAND));
    char expected[128] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_FILE_NOT_FOUND, 0x0400, expected,
                   sizeof expected, nullptr);
    EXPECT_NE(recordedBoxes[0].text, "");
    EXPECT_EQ(recordedBoxes[0].text, expected);
}

TEST_F(MessageBoxes, SystemErrorWithoutTextGivesAnEmptyBody) {
    SetLastError(0x2000ABCD);
    showSystemErrorBox("memory alocation failed");
    ASSERT_EQ(recordedBoxes.size(), 1u);
    EXPECT_EQ(recordedBoxes[0].text, "");
    EXPECT_EQ(recordedBoxes[0].caption, "memory alocation failed");
}

TEST_F(MessageBoxes, FileErrorBoxIsOwnedByTheReportView) {
    createWindow();
    errno = EACCES;
    showFileErrorBox("Cannot open file");
    ASSERT_EQ(recordedBoxes.size(), 1u);
    EXPECT_EQ(recordedBoxes[0].owner, reportView());
    EXPECT_EQ(recordedBoxes[0].text, std::strerror(EACCES));
    EXPECT_EQ(recordedBoxes[0].type, UINT(MB_OK | MB_ICONHAND));
}

}  // namespace

// The system-error box: the platform's text for the last error as body.
#include "message_boxes.h"

#include <gtest/gtest.h>

#include "main_window.h"
#include "shell_test_support.h"

namespace {

class MessageBoxes : public MainWindowTest {};

TEST_F(MessageBoxes, SystemErrorBoxTitlesThePlatformsTextWithTheMessage) {
    struct Case {
        const char* name;
        DWORD code;
        bool hasText;
    };
    const Case cases[] = {
        {"a code with text", ERROR_ACCESS_DENIED, true},
        {"a code with inserts", ERROR_WRONG_DISK, true},
        {"a code without text", 0x2000ABCD, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        clearRecordedBoxes();
        SetLastError(c.code);
        showSystemErrorBox("cannot create window");
        ASSERT_EQ(recordedBoxes.size(), 1u);
        EXPECT_EQ(recordedBoxes[0].owner, nullptr) << "no report view yet";
        EXPECT_EQ(recordedBoxes[0].caption, "cannot create window");
        EXPECT_EQ(recordedBoxes[0].type, UINT(MB_OK | MB_ICONHAND));
        EXPECT_EQ(!recordedBoxes[0].text.empty(), c.hasText) << recordedBoxes[0].text;
        EXPECT_LT(recordedBoxes[0].text.size(), 128u);
    }
}

}  // namespace

// The About box: opened by the About command from a posted message, looked
// at and closed from a timer while its modal loop runs.
#include "about_box.h"

#include <gtest/gtest.h>

#include <string>

#include "command_ids.h"
#include "report_header.h"
#include "shell_test_support.h"

namespace {

struct AboutSeen {
    HWND box = nullptr;
    HWND owner = nullptr;
    std::string caption;
    std::string banner;
    std::string maker;
    std::string contact;
    bool stillOpenAfterNotification = false;
    bool ownerDisabled = false;
};
AboutSeen seen;
UINT closeWith = WM_CLOSE;
WPARAM closeParam = 0;
int ticks = 0;

BOOL CALLBACK findAbout(HWND window, LPARAM found) {
    char title[32] = {};
    GetWindowTextA(window, title, sizeof title);
    if (IsWindowVisible(window) && std::string(title) == "About") {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK lookAndClose(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), findAbout, reinterpret_cast<LPARAM>(&box));
    if (box == nullptr) {
        if (++ticks > 200) {  // never wait for ever: give up after 2 s
            KillTimer(nullptr, timer);
        }
        return;
    }
    KillTimer(nullptr, timer);
    seen.box = box;
    seen.owner = GetWindow(box, GW_OWNER);
    seen.ownerDisabled = !IsWindowEnabled(seen.owner);
    seen.caption = windowText(box);
    seen.banner = windowText(GetDlgItem(box, IDC_ABOUT_BANNER));
    seen.maker = windowText(GetDlgItem(box, IDC_ABOUT_MAKER));
    seen.contact = windowText(GetDlgItem(box, IDC_ABOUT_CONTACT));
    // A command with a notification code besides IDOK must not close it.
    SendMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, 1), 0);
    seen.stillOpenAfterNotification = IsWindow(box) && IsWindowVisible(box);
    PostMessageA(box, closeWith, closeParam, 0);
}

class AboutBox : public MainWindowTest {};

TEST_F(AboutBox, ShowsItsThreeLinesAndClosesEachWay) {
    createWindow();
    pumpMessages(window_);
    struct Case {
        const char* name;
        UINT message;
        WPARAM wParam;
    };
    const Case cases[] = {
        {"OK", WM_COMMAND, IDOK},
        {"Esc", WM_COMMAND, IDCANCEL},
        {"close box", WM_CLOSE, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        seen = AboutSeen();
        closeWith = c.message;
        closeParam = c.wParam;
        ticks = 0;
        UINT_PTR timer = SetTimer(nullptr, 0, 10, lookAndClose);
        PostMessageA(window_, WM_COMMAND, IDM_ABOUT, 0);
        pumpMessages(window_);  // returns once the modal box has ended
        KillTimer(nullptr, timer);
        ASSERT_NE(seen.box, nullptr);
        EXPECT_FALSE(IsWindow(seen.box));
        EXPECT_EQ(seen.owner, window_);
        EXPECT_TRUE(seen.ownerDisabled);
        EXPECT_TRUE(IsWindowEnabled(window_));
        EXPECT_EQ(seen.caption, "About");
        EXPECT_EQ(seen.banner, VersionBanner);
        EXPECT_EQ(seen.maker, AboutMakerLine);
        EXPECT_EQ(seen.contact, AboutContactLine);
        EXPECT_TRUE(seen.stillOpenAfterNotification);
        EXPECT_EQ(reportText(), ExampleReport) << "closing it changes nothing";
    }
}

}  // namespace

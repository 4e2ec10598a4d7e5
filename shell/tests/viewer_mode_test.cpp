// Clipboard viewer mode with the real clipboard viewer chain and helper
// viewers that record what reaches them.
#include "viewer_mode.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "command_ids.h"
#include "log_files.h"
#include "main_window.h"
#include "shell_test_support.h"

namespace {

struct ChainMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const ChainMessage& o) const {
        return message == o.message && wParam == o.wParam && lParam == o.lParam;
    }
};

// A well-behaved viewer of the old kind: keeps its next viewer, passes
// everything on, records what it got.
struct Helper {
    HWND next = nullptr;
    bool inChain = false;
    std::vector<ChainMessage> got;
};
std::map<HWND, Helper> helpers;

LRESULT CALLBACK helperProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto found = helpers.find(window);
    if (found == helpers.end() || (message != WM_DRAWCLIPBOARD && message != WM_CHANGECBCHAIN)) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    Helper& helper = found->second;
    helper.got.push_back({message, wParam, lParam});
    if (message == WM_CHANGECBCHAIN && reinterpret_cast<HWND>(wParam) == helper.next) {
        helper.next = reinterpret_cast<HWND>(lParam);
    } else if (helper.next != nullptr) {
        SendMessageA(helper.next, message, wParam, lParam);
    }
    return 0;
}

class ViewerMode : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        WNDCLASSA helperClass = {};
        helperClass.lpfnWndProc = helperProc;
        helperClass.hInstance = GetModuleHandleA(nullptr);
        helperClass.lpszClassName = "VexaTestViewer";
        RegisterClassA(&helperClass);
        createWindow();
        pumpMessages(window_);
    }
    void TearDown() override {
        if (viewerState.on) {
            toggle();
        }
        for (auto it = joined_.rbegin(); it != joined_.rend(); ++it) {
            leave(*it);
        }
        MainWindowTest::TearDown();
        for (auto& entry : helpers) {
            DestroyWindow(entry.first);
        }
        helpers.clear();
    }
    HWND join() {
        HWND helper = CreateWindowA("VexaTestViewer", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
        helpers[helper] = Helper();
        helpers[helper].next = SetClipboardViewer(helper);
        helpers[helper].inChain = true;
        helpers[helper].got.clear();
        joined_.push_back(helper);
        return helper;
    }
    void leave(HWND helper) {
        if (helpers[helper].inChain) {
            ChangeClipboardChain(helper, helpers[helper].next);
            helpers[helper].inChain = false;
        }
    }
    void toggle() { SendMessageA(window_, WM_COMMAND, IDM_CLIPBOARD_VIEWER, 0); }
    bool checked() const {
        return (GetMenuState(windowState.fileMenu, IDM_CLIPBOARD_VIEWER, MF_BYCOMMAND) &
                MF_CHECKED) != 0;
    }
    std::vector<HWND> joined_;
};

TEST_F(ViewerMode, ToggleJoinsDecodesAtOnceAndShowsTheMode) {
    setClipboardText("hello");
    EXPECT_EQ(reportText(), ExampleReport) << "no decode while off";
    toggle();
    EXPECT_EQ(reportText(), "no statistics data in clipboard available!\r\n");
    EXPECT_TRUE(viewerState.on);
    EXPECT_EQ(GetClipboardViewer(), window_);
    EXPECT_TRUE(checked());
    EXPECT_EQ(paneText(1), "Clipboard Viewer On");
    EXPECT_EQ(SendMessageA(windowState.statusBar, SB_GETICON, 1, 0),
              reinterpret_cast<LRESULT>(windowState.viewerOnIcon));

    setClipboardText(ExampleLog);
    EXPECT_EQ(reportText(), ExampleReport) << "a change decodes by itself";

    toggle();
    EXPECT_FALSE(viewerState.on);
    EXPECT_EQ(GetClipboardViewer(), nullptr);
    EXPECT_FALSE(checked());
    EXPECT_EQ(paneText(1), "Clipboard Viewer Off");
    EXPECT_EQ(SendMessageA(windowState.statusBar, SB_GETICON, 1, 0),
              reinterpret_cast<LRESULT>(windowState.viewerOffIcon));
    setClipboardText("hello");
    EXPECT_EQ(reportText(), ExampleReport) << "left the chain: no decode";

    toggle();
    EXPECT_EQ(reportText(), "no statistics data in clipboard available!\r\n")
        << "joining again decodes the unchanged clipboard";
}

TEST_F(ViewerMode, PicturesReplaceTheReportWithTheNoTextMessage) {
    toggle();
    setClipboardNonText();
    EXPECT_EQ(reportText(), "no text data in clipboard available!\r\n");
    EXPECT_EQ(paneText(0), "Report from clipboard");
}

TEST_F(ViewerMode, NotificationsArePassedOnAlongTheChain) {
    HWND first = join();
    HWND second = join();
    toggle();
    EXPECT_EQ(viewerState.nextViewer, second);
    EXPECT_TRUE(helpers[second].got.empty()) << "the join notification is not passed on";

    setClipboardText(ExampleLog);
    ASSERT_EQ(helpers[second].got.size(), 1u);
    EXPECT_EQ(helpers[second].got[0].message, UINT(WM_DRAWCLIPBOARD));
    ASSERT_EQ(helpers[first].got.size(), 1u);

    // The last one leaves: the message travels down to the one before it.
    helpers[second].got.clear();
    leave(first);
    EXPECT_EQ(viewerState.nextViewer, second);
    ASSERT_EQ(helpers[second].got.size(), 1u);
    EXPECT_EQ(helpers[second].got[0],
              (ChainMessage{WM_CHANGECBCHAIN, reinterpret_cast<WPARAM>(first), 0}));
    EXPECT_EQ(helpers[second].next, nullptr);

    // The one right after ours leaves: absorbed, ours now ends the chain.
    helpers[second].got.clear();
    leave(second);
    EXPECT_EQ(viewerState.nextViewer, nullptr);
    EXPECT_TRUE(helpers[second].got.empty());
}

TEST_F(ViewerMode, OneLeavingFromTheMiddleIsSkipped) {
    HWND last = join();
    HWND middle = join();
    toggle();
    leave(middle);
    EXPECT_EQ(viewerState.nextViewer, last);
    helpers[last].got.clear();
    setClipboardText("hello");
    ASSERT_EQ(helpers[last].got.size(), 1u);
    EXPECT_EQ(helpers[last].got[0].message, UINT(WM_DRAWCLIPBOARD));
    EXPECT_TRUE(helpers[middle].got.empty());
}

TEST_F(ViewerMode, ChainChangeMessagesAbsorbedOrPassedOn) {
    HWND next = CreateWindowA("VexaTestViewer", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    helpers[next] = Helper();
    HWND other = reinterpret_cast<HWND>(0x1234);
    HWND after = reinterpret_cast<HWND>(0x5678);
    struct Case {
        const char* name;
        HWND nextBefore;
        HWND leaving;
        HWND nextAfter;
        size_t passedOn;
    };
    const Case cases[] = {
        {"next viewer leaves", next, next, after, 0},
        {"another window leaves", next, other, next, 1},
        {"no next viewer", nullptr, other, nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        helpers[next].got.clear();
        viewerState.nextViewer = c.nextBefore;
        SendMessageA(window_, WM_CHANGECBCHAIN, reinterpret_cast<WPARAM>(c.leaving),
                     reinterpret_cast<LPARAM>(after));
        EXPECT_EQ(viewerState.nextViewer, c.nextAfter);
        ASSERT_EQ(helpers[next].got.size(), c.passedOn);
        if (c.passedOn == 1) {
            EXPECT_EQ(helpers[next].got[0],
                      (ChainMessage{WM_CHANGECBCHAIN, reinterpret_cast<WPARAM>(c.leaving),
                                    reinterpret_cast<LPARAM>(after)}));
        }
    }
    viewerState.nextViewer = nullptr;
}

// Counts what reaches the main window; refuses to recurse so a fault
// shows as a count, not as a stack overflow.
int drawsSeen = 0;
WNDPROC dialogProc = nullptr;

LRESULT CALLBACK countDraws(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DRAWCLIPBOARD && ++drawsSeen > 1) {
        return 0;
    }
    return CallWindowProcA(dialogProc, window, message, wParam, lParam);
}

TEST_F(ViewerMode, ChangeIsNeverSentBackToTheWindowItself) {
    dialogProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(countDraws)));
    viewerState.nextViewer = window_;
    drawsSeen = 0;
    SendMessageA(window_, WM_DRAWCLIPBOARD, 0, 0);
    EXPECT_EQ(drawsSeen, 1);
    viewerState.nextViewer = nullptr;
    SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(dialogProc));
}

TEST_F(ViewerMode, IgnoreFlagSkipsOneDecodeButStillPassesOn) {
    HWND next = join();
    toggle();
    helpers[next].got.clear();
    viewerState.ignoreNextChange = true;
    setClipboardText("hello");
    EXPECT_EQ(reportText(), ExampleReport) << "not decoded";
    EXPECT_FALSE(viewerState.ignoreNextChange);
    EXPECT_EQ(helpers[next].got.size(), 1u);
    setClipboardText("hello again");
    EXPECT_EQ(reportText(), "no statistics data in clipboard available!\r\n");
}

// A delayed-render owner whose rendering lets a second change notification
// reach the window first, as happens when another program takes the
// clipboard back while the window is still reading it.
HWND renderTarget = nullptr;
int rendersSeen = 0;

LRESULT CALLBACK renderLateProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_RENDERFORMAT) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    if (++rendersSeen == 1) {
        SendMessageA(renderTarget, WM_DRAWCLIPBOARD, 0, 0);
    }
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, std::strlen(ExampleLog) + 1);
    std::memcpy(GlobalLock(memory), ExampleLog, std::strlen(ExampleLog) + 1);
    GlobalUnlock(memory);
    SetClipboardData(CF_TEXT, memory);
    return 0;
}

// Takes the clipboard with a text that renderLateProc renders on demand.
HWND takeClipboardForLateRendering(HWND target) {
    WNDCLASSA rendererClass = {};
    rendererClass.lpfnWndProc = renderLateProc;
    rendererClass.hInstance = GetModuleHandleA(nullptr);
    rendererClass.lpszClassName = "VexaTestLateRenderer";
    RegisterClassA(&rendererClass);
    HWND owner = CreateWindowA("VexaTestLateRenderer", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    renderTarget = target;
    rendersSeen = 0;
    if (OpenClipboard(owner)) {
        EmptyClipboard();
        SetClipboardData(CF_TEXT, nullptr);
        CloseClipboard();
    }
    return owner;
}

TEST_F(ViewerMode, ChangeArrivingDuringADecodeShowsTheReportOnce) {
    toggle();
    HWND owner = takeClipboardForLateRendering(window_);
    pumpMessages(window_);

    EXPECT_GE(rendersSeen, 1);
    EXPECT_EQ(reportText(), ExampleReport);
    EXPECT_EQ(paneText(0), "Report from clipboard");
    setClipboardText("hello");
    DestroyWindow(owner);
}

// A log that is a character device decodes the clipboard: the same guard.
TEST_F(ViewerMode, ChangeArrivingDuringADeviceLogsDecodeShowsTheReportOnce) {
    HWND owner = takeClipboardForLateRendering(window_);
    pumpMessages(window_);
    ASSERT_EQ(rendersSeen, 0) << "with viewer mode off nothing has decoded yet";

    loadLogFile("NUL", settings_.text);
    EXPECT_GE(rendersSeen, 1);
    EXPECT_EQ(reportText(), ExampleReport);
    EXPECT_EQ(paneText(0), "NUL");
    setClipboardText("hello");
    DestroyWindow(owner);
}

// Running out of memory ends the program with its window still there.
TEST_F(ViewerMode, LeavingAtExitKeepsTheViewersAfterOurs) {
    HWND next = join();
    toggle();
    leaveViewerChainAtExit();
    EXPECT_FALSE(viewerState.on);
    EXPECT_EQ(GetClipboardViewer(), next);
    helpers[next].got.clear();
    setClipboardText("hello");
    EXPECT_EQ(helpers[next].got.size(), 1u);
    leaveViewerChainAtExit();
    EXPECT_EQ(GetClipboardViewer(), next) << "a second call changes nothing";
}

TEST_F(ViewerMode, DestroyingTheWindowLeavesTheChain) {
    HWND next = join();
    toggle();
    UINT checkedBefore = GetMenuState(windowState.fileMenu, IDM_CLIPBOARD_VIEWER, MF_BYCOMMAND);
    EXPECT_TRUE(checkedBefore & MF_CHECKED);
    DestroyWindow(window_);
    EXPECT_FALSE(viewerState.on);
    EXPECT_EQ(viewerState.nextViewer, nullptr);
    EXPECT_EQ(GetClipboardViewer(), next);
    helpers[next].got.clear();
    setClipboardText("hello");
    EXPECT_EQ(helpers[next].got.size(), 1u);
}

}  // namespace

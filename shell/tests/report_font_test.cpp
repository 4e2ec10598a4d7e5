// The report view's font: a proportional font is replaced by a fixed-pitch
// one of the same size, a fixed-pitch one is kept, and a DPI change gives
// the same kind of font at the new size.
#include "report_font.h"

#include <gtest/gtest.h>

#include <vector>

#include "main_window.h"

namespace {

struct Shown {
    bool fixedPitch;
    LONG height;
};

Shown shownFont(HWND view) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(view, WM_GETFONT, 0, 0));
    LOGFONTA request = {};
    GetObjectA(font, sizeof request, &request);
    HDC dc = GetDC(view);
    HGDIOBJ previous = SelectObject(dc, font);
    // Measured, not taken from the font's flags: the columns line up when
    // every character is as wide as any other.
    SIZE narrow = {};
    SIZE wide = {};
    GetTextExtentPoint32A(dc, "iiiiiiiiii", 10, &narrow);
    GetTextExtentPoint32A(dc, "WWWWWWWWWW", 10, &wide);
    SelectObject(dc, previous);
    ReleaseDC(view, dc);
    return {narrow.cx == wide.cx, request.lfHeight};
}

class ReportFont : public ::testing::Test {
  protected:
    void SetUp() override {
        view_ = CreateWindowExA(0, "EDIT", "", WS_POPUP | ES_MULTILINE, 0, 0, 200, 100, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(view_, nullptr);
    }
    void TearDown() override {
        DestroyWindow(view_);
        releaseReportFont();
        for (HFONT font : given_) {
            DeleteObject(font);
        }
    }
    void give(const char* face, BYTE pitch, LONG height) {
        HFONT font =
            CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, pitch, face);
        given_.push_back(font);
        SendMessageA(view_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }

    HWND view_ = nullptr;
    std::vector<HFONT> given_;
};

TEST_F(ReportFont, ProportionalFontIsReplacedByAFixedPitchOneOfTheSameSize) {
    give("Arial", VARIABLE_PITCH | FF_SWISS, -12);
    ASSERT_FALSE(shownFont(view_).fixedPitch) << "the system has a proportional face";
    checkReportFont(view_);
    Shown shown = shownFont(view_);
    EXPECT_TRUE(shown.fixedPitch);
    EXPECT_EQ(shown.height, -12);
    EXPECT_EQ(SendMessageA(view_, WM_GETFONT, 0, 0),
              reinterpret_cast<LRESULT>(windowState.reportFont));
}

TEST_F(ReportFont, FixedPitchFontIsKept) {
    give("", FIXED_PITCH | FF_MODERN, -12);  // fixed-pitch in any Wine prefix
    ASSERT_TRUE(shownFont(view_).fixedPitch);
    checkReportFont(view_);
    EXPECT_EQ(SendMessageA(view_, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(given_[0]));
    EXPECT_EQ(windowState.reportFont, nullptr);
}

TEST_F(ReportFont, DpiChangeGivesAFixedPitchFontAtTheNewSize) {
    const struct {
        const char* face;
        BYTE pitch;
    } fonts[] = {{"", FIXED_PITCH | FF_MODERN}, {"Arial", VARIABLE_PITCH | FF_SWISS}};
    for (const auto& font : fonts) {
        SCOPED_TRACE(font.face);
        give(font.face, font.pitch, -12);
        rescaleReportFont(view_, 96, 144);
        EXPECT_TRUE(shownFont(view_).fixedPitch);
        EXPECT_EQ(shownFont(view_).height, -18);
        rescaleReportFont(view_, 144, 192);
        EXPECT_EQ(shownFont(view_).height, -24);
    }
}

}  // namespace

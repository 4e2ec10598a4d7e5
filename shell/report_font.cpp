// The report view's fixed-pitch font and its fallback.
#include "report_font.h"

#include "shell_state.h"

namespace {

bool isFixedPitch(HWND view, HFONT font) {
    HDC dc = GetDC(view);
    HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(view, dc);
    // Despite its name the flag is set for a variable pitch.
    return (metrics.tmPitchAndFamily & TMPF_FIXED_PITCH) == 0;
}

// The font wanted, or where it comes out proportional, any fixed-pitch
// face of the same size and weight.
HFONT createFixedPitchFont(HWND view, LOGFONTA wanted) {
    HFONT font = CreateFontIndirectA(&wanted);
    if (font == nullptr || isFixedPitch(view, font)) {
        return font;
    }
    DeleteObject(font);
    wanted.lfFaceName[0] = '\0';
    wanted.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    return CreateFontIndirectA(&wanted);
}

// The view's current font as a request.
bool currentFont(HWND view, LOGFONTA* font) {
    HGDIOBJ current = reinterpret_cast<HGDIOBJ>(SendMessageA(view, WM_GETFONT, 0, 0));
    return current != nullptr && GetObjectA(current, sizeof *font, font) == sizeof *font;
}

void setReportFont(HWND view, HFONT font) {
    if (font == nullptr) {
        return;  // the view keeps the font it has
    }
    SendMessageA(view, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    releaseReportFont();
    windowState.reportFont = font;
}

}  // namespace

void checkReportFont(HWND view) {
    LOGFONTA font = {};
    HFONT current = reinterpret_cast<HFONT>(SendMessageA(view, WM_GETFONT, 0, 0));
    if (current != nullptr && !isFixedPitch(view, current) && currentFont(view, &font)) {
        setReportFont(view, createFixedPitchFont(view, font));
    }
}

void rescaleReportFont(HWND view, int fromDpi, int toDpi) {
    LOGFONTA font = {};
    if (fromDpi > 0 && currentFont(view, &font)) {
        font.lfHeight = MulDiv(font.lfHeight, toDpi, fromDpi);
        font.lfWidth = MulDiv(font.lfWidth, toDpi, fromDpi);
        setReportFont(view, createFixedPitchFont(view, font));
    }
}

void releaseReportFont() {
    if (windowState.reportFont != nullptr) {
        DeleteObject(windowState.reportFont);
        windowState.reportFont = nullptr;
    }
}

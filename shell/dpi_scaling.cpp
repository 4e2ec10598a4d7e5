// The DPI look-ups, each with its fallback for older Windows.
#include "dpi_scaling.h"

namespace {

// Through void(*)(): the one function type any other converts to cleanly.
template <typename Function>
Function lookUp(const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(user32Function(name)));
}

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
using SystemParametersInfoForDpiFunction = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
using SetDialogDpiChangeBehaviorFunction = BOOL(WINAPI*)(HWND, int, int);

const int DialogScalingDisabled = 1;  // DDC_DISABLE_ALL

}  // namespace

FARPROC user32Function(const char* name) {
    HMODULE user32 = GetModuleHandleA("USER32.DLL");
    return user32 != nullptr ? GetProcAddress(user32, name) : nullptr;
}

int systemDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : BaseDpi;
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? dpi : BaseDpi;
}

int windowDpi(HWND window) {
    if (auto getDpiForWindow = lookUp<GetDpiForWindowFunction>("GetDpiForWindow")) {
        return static_cast<int>(getDpiForWindow(window));
    }
    return systemDpi();
}

int scaledToDpi(int pixels, int dpi) {
    return MulDiv(pixels, dpi, BaseDpi);
}

int smallIconSize(int dpi) {
    if (auto metricsForDpi = lookUp<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi")) {
        return metricsForDpi(SM_CXSMICON, static_cast<UINT>(dpi));
    }
    return GetSystemMetrics(SM_CXSMICON);
}

HFONT createStatusFont(int dpi) {
    auto parametersForDpi =
        lookUp<SystemParametersInfoForDpiFunction>("SystemParametersInfoForDpi");
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    if (parametersForDpi == nullptr || !parametersForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics,
                                                         &metrics, 0, static_cast<UINT>(dpi))) {
        return nullptr;
    }
    return CreateFontIndirectW(&metrics.lfStatusFont);
}

void keepDialogManagerFromScaling(HWND dialog) {
    if (auto setBehaviour =
            lookUp<SetDialogDpiChangeBehaviorFunction>("SetDialogDpiChangeBehavior")) {
        setBehaviour(dialog, DialogScalingDisabled, DialogScalingDisabled);
    }
}

#include "framework/DisplayScale.h"

#include <map>

#include "framework/Handles.h"
#include "framework/SystemLibrary.h"

namespace {

using DpiForWindowFn = UINT(WINAPI*)(HWND);
using DpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using DialogDpiBehaviorFn = BOOL(WINAPI*)(HWND, int, int);
using ControlDpiBehaviorFn = BOOL(WINAPI*)(HWND, int, int);

constexpr int kEffectiveDpi = 0;               // MDT_EFFECTIVE_DPI
constexpr int kDisableAllDialogScaling = 1;    // DDC_DISABLE_ALL
constexpr int kDisableFontUpdate = 1;          // DCDC_DISABLE_FONTUPDATE
constexpr int kDisableRelayout = 2;            // DCDC_DISABLE_RELAYOUT

ScreenRect MonitorRect(HMONITOR monitor, bool workArea)
{
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (monitor != nullptr && ::GetMonitorInfoA(monitor, &info))
        return ToScreenRect(workArea ? info.rcWork : info.rcMonitor);
    RECT area = { 0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN) };
    if (workArea)
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return ToScreenRect(area);
}

}  // namespace

int SystemDpi()
{
    static const int dpi = [] {
        WindowDC screen(nullptr);
        const int reported = screen.Get() != nullptr ? ::GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
        return reported > 0 ? reported : kDefaultDpi;
    }();
    return dpi;
}

int DpiOfWindow(HWND window)
{
    static const auto forWindow = SystemLibraryFunction<DpiForWindowFn>("user32.dll", "GetDpiForWindow");
    static const auto forMonitor = SystemLibraryFunction<DpiForMonitorFn>("shcore.dll", "GetDpiForMonitor");
    if (window != nullptr && forWindow != nullptr) {
        const UINT dpi = forWindow(window);
        if (dpi > 0)
            return static_cast<int>(dpi);
    }
    if (window != nullptr && forMonitor != nullptr) {
        UINT x = 0, y = 0;
        if (forMonitor(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), kEffectiveDpi, &x, &y) == S_OK && y > 0)
            return static_cast<int>(y);
    }
    return SystemDpi();
}

int FontHeightForDpi(int tenthsOfPoint, int dpi) { return -::MulDiv(tenthsOfPoint, dpi, 720); }

HFONT RescaledFont(HFONT font, int fromDpi, int toDpi)
{
    LOGFONTA face = {};
    if (font == nullptr || ::GetObjectA(font, sizeof face, &face) == 0)
        return nullptr;
    face.lfHeight = RescaleDpi(face.lfHeight, fromDpi, toDpi);
    face.lfWidth = RescaleDpi(face.lfWidth, fromDpi, toDpi);
    return ::CreateFontIndirectA(&face);
}

HFONT GuiFontForDpi(int dpi)
{
    HFONT stock = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    if (dpi <= 0 || dpi == SystemDpi())
        return stock;
    // Only the message loop's thread makes windows, so one map serves.
    static std::map<int, HFONT> made;
    HFONT& font = made[dpi];
    if (font == nullptr)
        font = RescaledFont(stock, SystemDpi(), dpi);
    return font != nullptr ? font : stock;
}

RECT SuggestedRect(LPARAM lParam)
{
    const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
    return suggested != nullptr ? *suggested : RECT{};
}

ScreenRect ToScreenRect(const RECT& rect)
{
    return { static_cast<int>(rect.left), static_cast<int>(rect.top), static_cast<int>(rect.right),
             static_cast<int>(rect.bottom) };
}

ScreenRect WorkAreaOf(HWND window) { return MonitorRect(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), true); }

ScreenRect MonitorAreaOf(HWND window)
{
    return MonitorRect(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), false);
}

ScreenRect WorkAreaNear(const RECT& rect) { return MonitorRect(::MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), true); }

void KeepDialogScalingToUs(HWND dialog)
{
    static const auto dialogBehavior =
        SystemLibraryFunction<DialogDpiBehaviorFn>("user32.dll", "SetDialogDpiChangeBehavior");
    static const auto controlBehavior =
        SystemLibraryFunction<ControlDpiBehaviorFn>("user32.dll", "SetDialogControlDpiChangeBehavior");
    if (dialogBehavior != nullptr)
        dialogBehavior(dialog, kDisableAllDialogScaling, kDisableAllDialogScaling);
    if (controlBehavior == nullptr)
        return;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
        controlBehavior(child, kDisableFontUpdate | kDisableRelayout, kDisableFontUpdate | kDisableRelayout);
}

#include "support/DpiChecks.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "common/DpiScale.h"
#include "support/WindowQueries.h"

namespace {

RECT ClientRectOf(HWND window)
{
    RECT rect = {};
    ::GetClientRect(window, &rect);
    return rect;
}

bool Overlap(const RECT& a, const RECT& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool Inside(const RECT& inner, const RECT& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

}  // namespace

void MoveToMonitorOfDpi(HWND window, int fromDpi, int dpi)
{
    RECT outer = {};
    ::GetWindowRect(window, &outer);
    RECT suggested = { outer.left, outer.top, outer.left + RescaleDpi(outer.right - outer.left, fromDpi, dpi),
                       outer.top + RescaleDpi(outer.bottom - outer.top, fromDpi, dpi) };
    ::SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

SIZE TextSizeIn(HWND window, const std::string& text, int width)
{
    HDC dc = ::GetDC(window);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(window, WM_GETFONT, 0, 0)));
    RECT rect = { 0, 0, width, 0 };
    ::DrawTextA(dc, text.c_str(), -1, &rect, DT_CALCRECT | (width > 0 ? DT_WORDBREAK : DT_SINGLELINE));
    ::SelectObject(dc, old);
    ::ReleaseDC(window, dc);
    return { rect.right - rect.left, rect.bottom - rect.top };
}

void ExpectChildrenWholeAndApart(HWND parent, int dpi)
{
    const RECT area = ClientRectOf(parent);
    // Beside the text: a check box's or radio button's glyph, a drop-down's
    // arrow, a push button's or group box's frame.
    const int glyph = ScaleForDpi(16, dpi);
    const int frame = ScaleForDpi(6, dpi);
    std::vector<std::pair<HWND, RECT>> shown;
    for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!(StyleOf(child) & WS_VISIBLE))
            continue;
        const RECT rect = RectIn(child, parent);
        const RECT client = ClientRectOf(child);
        const std::string className = ClassOf(child);
        const std::string text = TextOf(child);
        const DWORD kind = StyleOf(child) & BS_TYPEMASK;
        SCOPED_TRACE(className + " '" + text + "'");
        EXPECT_TRUE(Inside(rect, area));
        if (className == "Button" && kind == BS_GROUPBOX) {
            EXPECT_LE(TextSizeIn(child, text, 0).cx + 2 * frame, client.right);
            continue;
        }
        if (className == "Static") {
            EXPECT_LE(TextSizeIn(child, text, client.right).cy, client.bottom);
        } else if (className == "Button" && (kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON)) {
            EXPECT_LE(TextSizeIn(child, text, client.right - 2 * frame).cy + frame, client.bottom);
        } else if (className == "Button") {
            // A flag alone (a typed radio's) must show on one line.
            if (text.find(' ') == std::string::npos) {
                EXPECT_LE(TextSizeIn(child, text, 0).cx + glyph, client.right);
            } else {
                EXPECT_LE(TextSizeIn(child, text, client.right - glyph).cy, client.bottom);
            }
        } else if (className == "ComboBox") {
            EXPECT_LE(TextSizeIn(child, text, 0).cx + glyph + frame, client.right);
        } else if (className == "Edit") {
            EXPECT_LE(TextSizeIn(child, "Wy", 0).cy, client.bottom);
        }
        shown.push_back({ child, rect });
    }
    for (size_t a = 0; a < shown.size(); ++a)
        for (size_t b = a + 1; b < shown.size(); ++b)
            EXPECT_FALSE(Overlap(shown[a].second, shown[b].second))
                << TextOf(shown[a].first) << " / " << TextOf(shown[b].first);
}

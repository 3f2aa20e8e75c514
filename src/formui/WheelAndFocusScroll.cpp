// Scrolling a form taller than its window by the mouse wheel and by moving
// the keyboard focus. A form that fits has nothing to scroll and is left
// alone: the wheel goes where it always went, and nothing moves.

#include <algorithm>
#include <climits>

#include "common/DpiScale.h"
#include "formui/FormLayout.h"
#include "formui/PanelPlacement.h"
#include "formui/TavrelDlg.h"

namespace {

constexpr int kViewMargin = 9;  // shown above or below a row scrolled into view (at 96 DPI)

bool IsComboBox(HWND window)
{
    char className[32] = {};
    ::GetClassNameA(window, className, sizeof className);
    return lstrcmpiA(className, "ComboBox") == 0 || lstrcmpiA(className, "ComboLBox") == 0;
}

// A drop-down takes the wheel to change its choice (the system's own
// behaviour); every other control of the form leaves it to the form.
bool UsesWheel(HWND window)
{
    for (HWND w = window; w != nullptr; w = ::GetParent(w)) {
        if (IsComboBox(w))
            return true;
        if (!(::GetWindowLongA(w, GWL_STYLE) & WS_CHILD))
            break;
    }
    return false;
}

// The lines one wheel notch scrolls, as the user set it; UINT_MAX (scroll a
// page per notch) and 0 (the wheel does not scroll) pass through.
UINT WheelScrollLines()
{
    UINT lines = 3;
    if (!::SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0))
        lines = 3;
    return lines;
}

}  // namespace

// A wheel message the system gave to one of the form's controls comes to
// the form unless that control uses the wheel itself. (Depending on the
// system, the message goes to the window with the focus or to the one under
// the mouse.)
bool CTavrelDlg::ForwardWheelToForm(const MSG& msg)
{
    if (msg.message != WM_MOUSEWHEEL || msg.hwnd == m_hWnd || !::IsChild(m_hWnd, msg.hwnd))
        return false;
    if (m_nContentHeight <= m_nClientHeight || UsesWheel(msg.hwnd))
        return false;
    SendMessage(WM_MOUSEWHEEL, msg.wParam, msg.lParam);
    return true;
}

// Whole notches (WHEEL_DELTA) scroll the set number of lines; the smaller
// steps of high-resolution wheels and touchpads add up until they make a
// line, so that they scroll as far in total as the notches they add up to.
LRESULT CTavrelDlg::OnMouseWheel(WPARAM wParam, LPARAM)
{
    if (m_nContentHeight <= m_nClientHeight || !m_scrollBar.IsWindow())
        return Default();
    const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
    // Turning the other way drops what was left of the previous direction.
    if ((delta > 0 && m_nWheelRemainder < 0) || (delta < 0 && m_nWheelRemainder > 0))
        m_nWheelRemainder = 0;
    m_nWheelRemainder += delta;

    const UINT lines = WheelScrollLines();
    if (lines == 0) {
        m_nWheelRemainder = 0;
        return 0;
    }
    SCROLLINFO info = {};
    m_scrollBar.GetScrollInfo(&info, SIF_ALL);
    // One wheel line goes as far as the bar's arrow moves.
    const int lineStep = FormFrameMetricsFor(m_nDpi).lineStep;
    int step = 0;         // pixels per unit
    int deltaPerUnit = 0;  // wheel delta per unit
    if (lines == WHEEL_PAGESCROLL || lines >= static_cast<UINT>(m_nClientHeight / lineStep)) {
        step = std::max(1, static_cast<int>(info.nPage));
        deltaPerUnit = WHEEL_DELTA;
    } else {
        step = lineStep;
        deltaPerUnit = std::max(1, WHEEL_DELTA / static_cast<int>(lines));
    }
    const int units = m_nWheelRemainder / deltaPerUnit;  // toward zero
    if (units == 0)
        return 0;
    m_nWheelRemainder -= units * deltaPerUnit;
    // Turning the wheel away from the user scrolls up.
    ScrollTo(m_nScrollPos - units * step);
    return 0;
}

void CTavrelDlg::ScrollIntoView(HWND window)
{
    if (window == nullptr || m_nContentHeight <= m_nClientHeight || !m_panel.IsWindow())
        return;
    // The panel's child that holds the window (a control may have parts).
    while (window != nullptr && ::GetParent(window) != m_panel.m_hWnd)
        window = ::IsChild(m_panel.m_hWnd, window) ? ::GetParent(window) : nullptr;
    if (window == nullptr)
        return;

    int top = 0, height = 0;
    if (!m_panel.GetContentPosition(window, &top, &height))
        return;
    // A field's whole row, label included, when the window is part of one.
    for (const FormControl& control : m_formControls) {
        if (control.m_nLayoutHeight > 0 && control.HasPart(window)) {
            top = control.m_nLayoutY;
            height = control.m_nLayoutHeight;
        }
    }
    const int bottom = top + height;
    const int viewMargin = ScaleForDpi(kViewMargin, m_nDpi);
    if (top < m_nScrollPos || height + 2 * viewMargin > m_nClientHeight)
        ScrollTo(top - viewMargin);
    else if (bottom > m_nScrollPos + m_nClientHeight)
        ScrollTo(bottom + viewMargin - m_nClientHeight);
}

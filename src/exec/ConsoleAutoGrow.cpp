// The console window widens itself, once, when its output has grown wider
// than the output control: the control's horizontal scroll bar is the sign.

#include "common/Diag.h"
#include "exec/ConsoleGrowSteps.h"
#include "exec/FakeConsoleDlg.h"
#include "exec/FontMetrics.h"
#include "framework/DisplayScale.h"

namespace {

// Short outputs never widen the window, however long their lines.
constexpr long kCharsBeforeChecking = 200;
constexpr int kStepInCharacters = 4;

const char* YesNo(bool yes) { return yes ? "YES" : "NO"; }

// Leaves `scroll` as it was when the control gives no information.
bool ReadHorizontalScroll(HWND control, HorizontalScroll& scroll)
{
    SCROLLINFO info = {};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
    if (!::GetScrollInfo(control, SB_HORZ, &info))
        return false;
    scroll.max = info.nMax;
    scroll.page = static_cast<int>(info.nPage);
    scroll.shown = (::GetWindowLongA(control, GWL_STYLE) & WS_HSCROLL) != 0;
    return true;
}

}  // namespace

void FakeConsoleDlg::CheckAutoGrow()
{
    if (growDone || !outputCtrl.IsWindow())
        return;
    if (!growLeft && !growRight) {
        Diag("[GROW] Disabled: both directions off\n");
        return;
    }
    // The one query paid on every append until the output is long enough.
    const long length = outputCtrl.GetTextLength();
    if (length < kCharsBeforeChecking) {
        Diag("[GROW] Too early: only %d chars, need 200+ before checking\n", static_cast<int>(length));
        return;
    }

    HorizontalScroll scroll;
    if (!ReadHorizontalScroll(outputCtrl, scroll)) {
        Diag("[GROW] GetScrollInfo failed\n");
        return;
    }
    Diag("[GROW] Scrollbar check: nMax=%d, nPage=%d, needs_scrollbar=%s\n", scroll.max, scroll.page,
         YesNo(scroll.NeedsScrollBar()));
    if (scroll.page == 0) {
        Diag("[GROW] Control not ready (nPage=0), will check again\n");
        return;
    }
    if (!scroll.NeedsScrollBar()) {
        Diag("[GROW] No scrollbar needed yet, will check again\n");
        return;
    }

    growDone = true;
    Diag("[GROW] Horizontal scrollbar DETECTED, starting grow process\n");
    // The work area of the monitor that holds the window: measured against
    // the primary screen alone, a console on a second monitor would be
    // squeezed onto the first one's edge.
    const ScreenRect area = WorkAreaOf(m_hWnd);
    RECT window;
    GetWindowRect(&window);
    Diag("[GROW] Current window: left=%d, right=%d, width=%d\n", static_cast<int>(window.left),
         static_cast<int>(window.right), static_cast<int>(window.right - window.left));
    Diag("[GROW] Work area: left=%d, right=%d, width=%d\n", area.left, area.right, area.Width());

    const int step = kStepInCharacters * MeasureFont(outputCtrl, consoleFont).tmAveCharWidth;
    GrowHooks hooks;
    hooks.readScroll = [this]() {
        HorizontalScroll now;  // an unreadable bar counts as not needed
        ReadHorizontalScroll(outputCtrl, now);
        return now;
    };
    hooks.resize = [this, &window](HorizontalSpan edges) {
        // The size message is handled before SetWindowPos returns, so the
        // output control has its new width; painting it now lets the next
        // reading see the scroll range of that width.
        SetWindowPos(nullptr, edges.left, window.top, edges.Width(), window.bottom - window.top, SWP_NOZORDER);
        UpdateWindow();
    };
    RunGrowSteps({ static_cast<int>(window.left), static_cast<int>(window.right) }, step, growLeft, growRight,
                 { area.left, area.right }, hooks);

    RECT reached;
    GetWindowRect(&reached);
    Diag("[GROW] FINAL: Console width=%d px\n", static_cast<int>(reached.right - reached.left));
}

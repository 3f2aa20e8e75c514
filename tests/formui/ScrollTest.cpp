// Forms taller than the screen: the dialog's height, the scroll bar, and the
// panel following the bar, also for content taller than a window can be.

#include <gtest/gtest.h>

#include "FormHarness.h"
#include "formui/ContentPanel.h"
#include "formui/PanelPlacement.h"
#include "framework/WinApp.h"

namespace {

std::string ManyCheckboxes(int count)
{
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i)
        lines.push_back("-c" + std::to_string(i) + " Checkbox number " + std::to_string(i));
    return FormText("A tall form.", lines);
}

SCROLLINFO BarInfo(OpenForm& form)
{
    SCROLLINFO info = {};
    form.Dialog().m_scrollBar.GetScrollInfo(&info, SIF_ALL);
    return info;
}

int PanelTop(OpenForm& form) { return RectIn(form.Dialog().m_panel.m_hWnd, form.Dialog().m_hWnd).top; }

// The bar, the dialog's member and the panel agree on the position.
void ExpectPosition(OpenForm& form, int position)
{
    EXPECT_EQ(position, form.Dialog().m_nScrollPos);
    EXPECT_EQ(position, BarInfo(form).nPos);
    EXPECT_EQ(-position, PanelTop(form));
}

}  // namespace

TEST(Scrolling, TallFormTakesTheScreenHeightAndShowsTheBar)
{
    OpenForm bare("");
    RECT template_ = {};
    bare.Dialog().GetWindowRect(&template_);

    OpenForm form(ManyCheckboxes(60));
    CTavrelDlg& dlg = form.Dialog();
    RECT outer = {};
    dlg.GetWindowRect(&outer);
    const int maxHeight = ::GetSystemMetrics(SM_CYSCREEN) - 150;
    EXPECT_EQ(maxHeight, outer.bottom - outer.top);
    EXPECT_EQ(template_.right - template_.left, outer.right - outer.left);

    const int client = form.ClientHeight();
    ASSERT_GT(dlg.m_nContentHeight, client);
    RECT bar = RectIn(dlg.m_scrollBar.m_hWnd, dlg.m_hWnd);
    EXPECT_EQ(form.ClientWidth() - 16, bar.left);
    EXPECT_EQ(form.ClientWidth(), bar.right);
    EXPECT_EQ(client, bar.bottom - bar.top);
    EXPECT_TRUE(StyleOf(dlg.m_scrollBar.m_hWnd) & WS_VISIBLE);
    SCROLLINFO info = BarInfo(form);
    EXPECT_EQ(0, info.nMin);
    EXPECT_EQ(dlg.m_nContentHeight - 1, info.nMax);
    EXPECT_EQ((UINT)client, info.nPage);
    ExpectPosition(form, 0);
    EXPECT_TRUE(form.Logged("Dialog height constrained to maximum: " + std::to_string(maxHeight)));
}

TEST(Scrolling, ScrollRequestsMoveThePanelAndStopAtTheEnds)
{
    OpenForm form(ManyCheckboxes(150));
    const int page = form.ClientHeight();
    const int last = form.Dialog().m_nContentHeight - page;
    ASSERT_GT(last, page + 20);

    form.Scroll(SB_LINEUP);
    ExpectPosition(form, 0);
    form.Scroll(SB_LINEDOWN);
    ExpectPosition(form, 20);
    form.Scroll(SB_PAGEDOWN);
    ExpectPosition(form, 20 + page);
    form.Scroll(SB_THUMBTRACK, 100);
    ExpectPosition(form, 100);
    for (int i = 0; i < 5; ++i)
        form.Scroll(SB_PAGEDOWN);
    EXPECT_EQ(last, BarInfo(form).nPos);
    form.Scroll(SB_LINEDOWN);
    EXPECT_EQ(last, BarInfo(form).nPos);
    form.Scroll(SB_PAGEUP);
    ExpectPosition(form, last - page);
    form.Scroll(SB_THUMBPOSITION, 0);
    ExpectPosition(form, 0);

    // A scroll request from some other scroll bar is not ours.
    CScrollBar other;
    RECT none = {};
    ASSERT_TRUE(other.Create(WS_CHILD | SBS_VERT, none, &form.Dialog(), 4242));
    form.Dialog().SendMessage(WM_VSCROLL, SB_PAGEDOWN, (LPARAM)other.m_hWnd);
    ExpectPosition(form, 0);
}

TEST(Scrolling, ThousandsOfControlsOpenAndScrollToTheEnd)
{
    // 1,500 fields: 3,000 windows, as many as a form may have.
    std::vector<std::string> lines;
    for (int i = 0; i < 1500; ++i)
        lines.push_back("-f" + std::to_string(i) + " {{text}} Field " + std::to_string(i));
    OpenForm form(FormText("Fifteen hundred fields.", lines));
    CTavrelDlg& dlg = form.Dialog();
    ASSERT_EQ(1500u, dlg.m_form.m_controls.size());
    ASSERT_GT(dlg.m_nContentHeight, kMaxWindowExtent);
    RECT panel = RectIn(dlg.m_panel.m_hWnd, dlg.m_hWnd);
    EXPECT_LE(panel.bottom - panel.top, kMaxWindowExtent);

    // Each edit box shows at its content position minus the scroll position,
    // and inside the client area when it is scrolled into view.
    auto expectShown = [&](size_t index) {
        SCOPED_TRACE(index);
        FormControl& def = form.Control(index);
        RECT edit = RectIn(def.m_pEdit->m_hWnd, dlg.m_hWnd);
        EXPECT_EQ(def.m_nLayoutY - dlg.m_nScrollPos, edit.top);
        EXPECT_EQ(20, edit.bottom - edit.top);
        EXPECT_GE(edit.top, 0);
        EXPECT_LE(edit.bottom, form.ClientHeight());
    };
    expectShown(0);
    const int last = dlg.m_nContentHeight - form.ClientHeight();
    form.Scroll(SB_THUMBTRACK, (UINT)last);
    EXPECT_EQ(last, dlg.m_nScrollPos);
    expectShown(1499);
    form.Scroll(SB_THUMBTRACK, (UINT)form.Control(1000).m_nLayoutY - 100);
    expectShown(1000);
    for (int i = 0; i < 3; ++i)
        form.Scroll(SB_PAGEDOWN);
    // Fields here are 29 pixels apart.
    expectShown(1000 + (3 * form.ClientHeight() + 28) / 29);
    form.Scroll(SB_THUMBTRACK, 0);
    expectShown(0);
    expectShown(10);
}

// Dragging the thumb of a bar whose range is beyond 16 bits: the scroll
// message carries only the low 16 bits of the position.
TEST(Scrolling, DraggingTheThumbReachesPositionsBeyondSixteenBits)
{
    // Labels that wrap make the form taller than 65,535 pixels within the
    // window limit.
    std::string wrapping;
    for (int i = 0; i < 6; ++i)
        wrapping += " with a label long enough to wrap onto further lines of the form";
    std::vector<std::string> lines;
    for (int i = 0; i < 1500; ++i)
        lines.push_back("-f" + std::to_string(i) + " {{text}} Field " + std::to_string(i) + wrapping);
    OpenForm form(FormText("Very tall.", lines));
    CTavrelDlg& dlg = form.Dialog();
    const int last = dlg.m_nContentHeight - form.ClientHeight();
    ASSERT_GT(last, 0xFFFF);

    HWND bar = dlg.m_scrollBar.m_hWnd;
    SCROLLBARINFO geometry = { sizeof geometry };
    ASSERT_TRUE(::GetScrollBarInfo(bar, OBJID_CLIENT, &geometry));
    const int x = 8;
    const int grab = (geometry.xyThumbTop + geometry.xyThumbBottom) / 2;
    // The bar follows the mouse in its own loop once the button is down:
    // the moves and the release wait in the queue for it.
    const int bottom = form.ClientHeight() - 1;
    ::PostMessageA(bar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, bottom));
    ::PostMessageA(bar, WM_LBUTTONUP, 0, MAKELPARAM(x, bottom));
    ::SendMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, grab));

    EXPECT_EQ(last, dlg.m_nScrollPos);
    EXPECT_EQ(last, BarInfo(form).nPos);
    FormControl& lastField = form.Control(1499);
    EXPECT_LE(RectIn(lastField.m_pEdit->m_hWnd, dlg.m_hWnd).bottom, form.ClientHeight());
}

namespace {

std::string ManyFields(int count)
{
    std::vector<std::string> lines = { "{{drive}} -d Drive" };
    for (int i = 0; i < count; ++i)
        lines.push_back("-f" + std::to_string(i) + " {{text}} Field " + std::to_string(i));
    return FormText("Fields.", lines);
}

// A wheel message as the system delivers it to `target`; true when the form
// took it from the control.
bool Wheel(OpenForm& form, HWND target, int delta)
{
    MSG msg = {};
    msg.hwnd = target;
    msg.message = WM_MOUSEWHEEL;
    msg.wParam = MAKEWPARAM(0, (WORD)(short)delta);
    BOOL taken = static_cast<CWnd&>(form.Dialog()).PreTranslateMessage(&msg);
    if (!taken)
        ::SendMessageA(target, WM_MOUSEWHEEL, msg.wParam, 0);
    return taken != FALSE;
}

bool Press(OpenForm& form, UINT key, bool shift = false)
{
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    ::SetKeyboardState(keys);
    MSG msg = {};
    msg.hwnd = ::GetFocus();
    msg.message = WM_KEYDOWN;
    msg.wParam = key;
    BOOL handled = static_cast<CWnd&>(form.Dialog()).PreTranslateMessage(&msg);
    keys[VK_SHIFT] = 0;
    ::SetKeyboardState(keys);
    return handled != FALSE;
}

}  // namespace

TEST(Scrolling, TheWheelScrollsTallFormsByLinesAndAddsUpSmallSteps)
{
    UINT lines = 0;
    ASSERT_TRUE(::SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0));
    ASSERT_TRUE(lines > 0 && lines < 10);
    const int notch = static_cast<int>(lines) * 20;

    OpenForm form(ManyFields(80));
    CTavrelDlg& dlg = form.Dialog();
    HWND edit = form.Control(5).m_pEdit->m_hWnd;
    HWND label = form.Control(5).m_pLabel->m_hWnd;
    // Over (or focused on) an edit box or a label, the form scrolls.
    EXPECT_TRUE(Wheel(form, edit, -WHEEL_DELTA));
    ExpectPosition(form, notch);
    EXPECT_TRUE(Wheel(form, label, -2 * WHEEL_DELTA));
    ExpectPosition(form, 3 * notch);
    // Touchpad steps of a quarter notch add up to exactly one notch.
    for (int i = 0; i < 4; ++i)
        Wheel(form, edit, -WHEEL_DELTA / 4);
    ExpectPosition(form, 4 * notch);
    // A step left over is dropped when the wheel turns the other way.
    Wheel(form, edit, -WHEEL_DELTA / 4);
    Wheel(form, edit, WHEEL_DELTA);
    ExpectPosition(form, 3 * notch);
    // Sent straight to the dialog, and clamped at the top.
    dlg.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 10 * WHEEL_DELTA), 0);
    ExpectPosition(form, 0);
    // The drive drop-down keeps the wheel for its own choice.
    EXPECT_FALSE(Wheel(form, form.Control(0).m_pCombo->m_hWnd, -WHEEL_DELTA));
    ExpectPosition(form, 0);

    // A form that fits: the wheel goes where it went before and nothing moves.
    OpenForm small(ManyFields(3));
    ASSERT_LE(small.Dialog().m_nContentHeight, small.ClientHeight());
    EXPECT_FALSE(Wheel(small, small.Control(1).m_pEdit->m_hWnd, -WHEEL_DELTA));
    small.Dialog().SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)(short)-WHEEL_DELTA), 0);
    EXPECT_EQ(0, small.Dialog().m_nScrollPos);
    EXPECT_EQ(0, PanelTop(small));
}

TEST(Scrolling, MovingTheFocusScrollsItsFieldIntoView)
{
    OpenForm form(ManyFields(80));
    CTavrelDlg& dlg = form.Dialog();
    const int client = form.ClientHeight();
    auto shown = [&](size_t index) {
        RECT edit = RectIn(form.Control(index).m_pEdit->m_hWnd, dlg.m_hWnd);
        return edit.top >= 0 && edit.bottom <= client;
    };
    // Tab through the fields: each one focused is in view.
    form.Control(1).m_pEdit->SetFocus();
    for (size_t i = 2; i <= 40; ++i) {
        SCOPED_TRACE(i);
        Press(form, VK_TAB);
        ASSERT_EQ(form.Control(i).m_pEdit->m_hWnd, ::GetFocus());
        EXPECT_TRUE(shown(i));
    }
    EXPECT_GT(dlg.m_nScrollPos, 0);
    // Tab moved the view only as far as needed: the field sits at the bottom.
    RECT last = RectIn(form.Control(40).m_pEdit->m_hWnd, dlg.m_hWnd);
    EXPECT_GT(last.bottom, client - 40);
    ExpectPosition(form, dlg.m_nScrollPos);

    // Shift+Tab back to a field above the view scrolls up to it.
    dlg.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, (WORD)(short)(-20 * WHEEL_DELTA)), 0);
    form.Control(40).m_pEdit->SetFocus();
    ASSERT_FALSE(shown(39));
    Press(form, VK_TAB, true);
    ASSERT_EQ(form.Control(39).m_pEdit->m_hWnd, ::GetFocus());
    EXPECT_TRUE(shown(39));
    ExpectPosition(form, dlg.m_nScrollPos);
}

// The Required box draws only its frame; the panel must paint inside it, or
// a scroll leaves pieces of the earlier view there.
TEST(Scrolling, ThePanelPaintsInsideTheRequiredBox)
{
    OpenForm form(FormText("Box.", { "{{required text}} First", "{{required text}} Second", "-c Check" }));
    CTavrelDlg& dlg = form.Dialog();
    dlg.ShowWindow(SW_SHOWNA);
    RECT box = RectIn(dlg.m_groupRequired.m_hWnd, dlg.m_panel.m_hWnd);
    HDC dc = ::GetDC(dlg.m_panel.m_hWnd);
    // Inside the frame, left of every control.
    const bool painted = ::PtVisible(dc, box.left + 3, (box.top + box.bottom) / 2) != FALSE;
    ::ReleaseDC(dlg.m_panel.m_hWnd, dc);
    dlg.ShowWindow(SW_HIDE);
    EXPECT_TRUE(painted);
}

// What a panel remembers of its windows goes with the panel's window: a new
// window on the same panel object (or on the same handle) starts afresh.
TEST(Scrolling, APanelForgetsItsWindowsPositionsWithItsWindow)
{
    const char* windowClass = AfxRegisterWndClass(0);
    CContentPanel panel;
    for (int round = 0; round < 2; ++round) {
        CWnd host, child;
        ASSERT_TRUE(host.CreateEx(0, windowClass, "", WS_POPUP, RECT{ 0, 0, 200, 200 }, nullptr, 0));
        ASSERT_TRUE(panel.CreateEx(0, windowClass, "", WS_CHILD, RECT{ 0, 0, 100, 100 }, &host, 1));
        ASSERT_TRUE(child.CreateEx(0, windowClass, "", WS_CHILD, RECT{ 0, 0, 10, 10 }, &panel, 2));
        int contentY = 0, height = 0;
        EXPECT_EQ(0, panel.Base());
        EXPECT_FALSE(panel.GetContentPosition(child.m_hWnd, &contentY, &height));
        panel.Place(&child, 5, 40000, 10, 12);
        panel.SetBase(30000);
        ASSERT_TRUE(panel.GetContentPosition(child.m_hWnd, &contentY, &height));
        EXPECT_EQ(40000, contentY);
        EXPECT_EQ(12, height);
        const HWND oldChild = child.m_hWnd;
        host.DestroyWindow();  // the panel and its child go with their parent
        EXPECT_EQ(nullptr, panel.m_hWnd);
        EXPECT_FALSE(panel.GetContentPosition(oldChild, &contentY, &height));
        EXPECT_EQ(0, panel.Base());
    }
}

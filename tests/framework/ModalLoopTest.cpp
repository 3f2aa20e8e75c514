// The modal loop: hidden until idle, quit requests end every loop and are
// passed on, results of EndDialog, centring after initialisation.

#include <gtest/gtest.h>

#include <functional>

#include "framework/Dialog.h"
#include "framework/WinApp.h"
#include "resource.h"

namespace {

// Removes a quit request left in this thread's queue by a test.
int TakeQuitRequest()
{
    MSG msg;
    if (::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        return static_cast<int>(msg.wParam);
    return -1;
}

class ScriptedDialog : public CDialog {
public:
    explicit ScriptedDialog(CWnd* parent = nullptr) : CDialog(IDD_TAVREL_DIALOG, parent) {}
    std::function<void(ScriptedDialog&)> onInit;
    std::function<void(ScriptedDialog&)> onTimer;
    bool everVisible = false;
    int preTranslated = 0;

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        if (onInit)
            onInit(*this);
        return TRUE;
    }
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->hwnd == m_hWnd && msg->message == WM_APP)
            ++preTranslated;
        return CDialog::PreTranslateMessage(msg);
    }
    void OnTimer(UINT_PTR)
    {
        everVisible = everVisible || IsWindowVisible();
        KillTimer(1);
        if (onTimer)
            onTimer(*this);
    }
    LRESULT OnShow(WPARAM show, LPARAM)
    {
        if (show)
            everVisible = true;
        return Default();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ScriptedDialog, CDialog)
    ON_WM_TIMER()
    ON_MESSAGE(WM_SHOWWINDOW, OnShow)
END_MESSAGE_MAP()

TEST(ModalLoop, QuitPostedDuringInitialisationEndsBeforeTheDialogIsShown)
{
    ScriptedDialog dialog;
    dialog.onInit = [](ScriptedDialog&) { ::PostQuitMessage(7); };
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_FALSE(dialog.everVisible);
    EXPECT_EQ(TakeQuitRequest(), 7) << "the quit request is passed on to enclosing loops";
    EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST(ModalLoop, EndDialogReturnsItsResultAfterTheDialogWasShown)
{
    // The dialog appears once the queue is first empty; poll until then.
    ScriptedDialog dialog;
    int ticks = 0;
    dialog.onInit = [](ScriptedDialog& d) { d.SetTimer(1, 20); };
    dialog.onTimer = [&ticks](ScriptedDialog& d) {
        if (d.IsWindowVisible())
            d.EndDialog(42);
        else if (++ticks > 250)
            d.EndDialog(-2);
        else
            d.SetTimer(1, 20);
    };
    EXPECT_EQ(dialog.DoModal(), 42);
    EXPECT_TRUE(dialog.everVisible);
    EXPECT_EQ(TakeQuitRequest(), -1);
}

TEST(ModalLoop, QuitInANestedLoopEndsTheOuterLoopToo)
{
    ScriptedDialog outer;
    int innerResult = 0;
    outer.onInit = [](ScriptedDialog& d) { d.SetTimer(1, 10); };
    outer.onTimer = [&innerResult](ScriptedDialog& d) {
        ScriptedDialog inner;
        inner.onInit = [](ScriptedDialog&) { ::PostQuitMessage(3); };
        innerResult = static_cast<int>(inner.DoModal());
    };
    EXPECT_EQ(outer.DoModal(), -1);
    EXPECT_EQ(innerResult, -1);
    EXPECT_EQ(TakeQuitRequest(), 3);
}

TEST(ModalLoop, CloseBoxAndEscapeEndWithCancel)
{
    ScriptedDialog dialog;
    dialog.onInit = [](ScriptedDialog& d) { d.SetTimer(1, 10); };
    dialog.onTimer = [](ScriptedDialog& d) { d.PostMessage(WM_CLOSE); };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST(ModalLoop, PreTranslateMessageSeesPostedMessagesFirst)
{
    ScriptedDialog dialog;
    dialog.onInit = [](ScriptedDialog& d) {
        d.PostMessage(WM_APP);
        d.PostMessage(WM_APP);
        d.SetTimer(1, 30);
    };
    dialog.onTimer = [](ScriptedDialog& d) { d.EndDialog(IDOK); };
    dialog.DoModal();
    EXPECT_EQ(dialog.preTranslated, 2);
}

TEST(ModalLoop, OwnerIsDisabledWhileTheDialogRunsAndEnabledAfterwards)
{
    ScriptedDialog owner;
    ASSERT_TRUE(owner.Create());
    bool ownerEnabledDuring = true;
    ScriptedDialog dialog(&owner);
    dialog.onInit = [](ScriptedDialog& d) { d.SetTimer(1, 10); };
    dialog.onTimer = [&](ScriptedDialog& d) {
        ownerEnabledDuring = owner.IsWindowEnabled() != FALSE;
        d.EndDialog(IDOK);
    };
    dialog.DoModal();
    EXPECT_FALSE(ownerEnabledDuring);
    EXPECT_TRUE(owner.IsWindowEnabled());
    owner.DestroyWindow();
}

TEST(ModalLoop, DialogNotMovedDuringInitialisationIsCentredOnTheWorkArea)
{
    RECT area;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    ScriptedDialog dialog;
    RECT placed = {};
    dialog.onInit = [](ScriptedDialog& d) {
        // Resizing is not moving.
        d.SetWindowPos(nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
        d.SetTimer(1, 10);
    };
    dialog.onTimer = [&placed](ScriptedDialog& d) {
        d.GetWindowRect(&placed);
        d.EndDialog(IDOK);
    };
    dialog.DoModal();
    EXPECT_EQ(placed.right - placed.left, 300);
    int centreX = (area.left + area.right) / 2;
    int centreY = (area.top + area.bottom) / 2;
    EXPECT_NEAR((placed.left + placed.right) / 2, centreX, 1);
    EXPECT_NEAR((placed.top + placed.bottom) / 2, centreY, 1);
}

TEST(ModalLoop, DialogMovedDuringInitialisationStaysWhereItWasPut)
{
    ScriptedDialog dialog;
    RECT placed = {};
    dialog.onInit = [](ScriptedDialog& d) {
        d.SetWindowPos(nullptr, 17, 23, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        d.SetTimer(1, 10);
    };
    dialog.onTimer = [&placed](ScriptedDialog& d) {
        d.GetWindowRect(&placed);
        d.EndDialog(IDOK);
    };
    dialog.DoModal();
    EXPECT_EQ(placed.left, 17);
    EXPECT_EQ(placed.top, 23);
}

}  // namespace

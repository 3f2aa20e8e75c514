// The form dialog's frame: fixed windows, system menu, title, first focus,
// the Tab trace and the panel's forwarding of notifications.

#include <gtest/gtest.h>

#include "FormHarness.h"

TEST(FormFrame, WithoutPathShowsOnlyTheRunButtonWhichHasTheFocus)
{
    OpenForm form("");
    CTavrelDlg& dlg = form.Dialog();
    EXPECT_EQ("tavrel", TextOf(dlg.m_hWnd));
    EXPECT_FALSE(StyleOf(dlg.m_hWnd) & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    const int cw = form.ClientWidth();

    HWND panel = dlg.m_panel.m_hWnd;
    EXPECT_TRUE(::GetWindowLongA(panel, GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
    RECT panelRect = RectIn(panel, dlg.m_hWnd);
    EXPECT_EQ(cw - 16, panelRect.right - panelRect.left);
    EXPECT_EQ(DLGC_WANTCHARS, (int)::SendMessageA(panel, WM_GETDLGCODE, 0, 0));
    // Its class erases the background, so that scrolling leaves no traces.
    EXPECT_EQ((ULONG_PTR)(COLOR_BTNFACE + 1), ::GetClassLongPtrA(panel, GCLP_HBRBACKGROUND));

    HWND run = dlg.m_btnRun.m_hWnd;
    EXPECT_EQ(panel, ::GetParent(run));
    EXPECT_EQ(IDOK, ::GetDlgCtrlID(run));
    RECT runRect = RectIn(run, panel);
    EXPECT_EQ(cw - 96, runRect.left);
    EXPECT_EQ(cw - 26, runRect.right);
    EXPECT_EQ(run, ::GetFocus());

    HWND bar = dlg.m_scrollBar.m_hWnd;
    EXPECT_EQ(1002, ::GetDlgCtrlID(bar));
    EXPECT_FALSE(StyleOf(bar) & (WS_VISIBLE | WS_TABSTOP));
    EXPECT_EQ(1001, ::GetDlgCtrlID(dlg.m_groupRequired.m_hWnd));
    EXPECT_FALSE(StyleOf(dlg.m_groupRequired.m_hWnd) & WS_VISIBLE);

    EXPECT_TRUE(form.Logged("Content panel created successfully\nCreated description static\n"
                            "Created Run button\nCreated Required group box\n"
                            "OnInitDialog - ready to load .gui file\nNo .gui file specified\n"
                            "Setting focus to Run button\n"));
    EXPECT_FALSE(form.Logged("CreateControls"));

    HMENU menu = ::GetSystemMenu(dlg.m_hWnd, FALSE);
    int count = ::GetMenuItemCount(menu);
    EXPECT_EQ(0x0010u, ::GetMenuItemID(menu, count - 1));
    char text[64] = {};
    ::GetMenuStringA(menu, count - 1, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ("&About tavrel...", text);
    EXPECT_EQ(MF_SEPARATOR, ::GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR);
}

TEST(FormFrame, TitleIsTheExpandedCommandUnlessOverridden)
{
    ::SetEnvironmentVariableA("TAVREL_FRAME_TOOL", "C:\\Tools");
    const std::string text = "%TAVREL_FRAME_TOOL%\\zip.exe -q\r\nPacks files.\r\n";
    {
        OpenForm form(text);
        EXPECT_EQ("C:\\Tools\\zip.exe -q", TextOf(form.Dialog().m_hWnd));
        EXPECT_EQ("C:\\Tools\\zip.exe -q", form.Dialog().m_form.m_strCommand);
        EXPECT_EQ("Packs files.", TextOf(form.Dialog().m_staticDescription.m_hWnd));
    }
    {
        OpenForm form(text, WindowTitle{ "zipper" });
        EXPECT_EQ("zipper", TextOf(form.Dialog().m_hWnd));
    }
    {
        OpenForm form("\r\n\r\n");  // empty command: the template's caption stays
        EXPECT_EQ("tavrel", TextOf(form.Dialog().m_hWnd));
    }
    ::SetEnvironmentVariableA("TAVREL_FRAME_TOOL", nullptr);
}

TEST(FormFrame, FocusGoesToTheFirstRequiredEditBoxInFileOrder)
{
    {
        OpenForm form(FormText("", { "-a Alpha", "-d {{required drive}} Drive", "{{required text}} Name" }));
        EXPECT_EQ(form.Control(2).m_pEdit->m_hWnd, ::GetFocus());
        EXPECT_TRUE(form.Logged("Setting focus to first required edit box (control 2)\n"));
    }
    {
        // Required untyped radios have no edit box: the Run button gets it.
        OpenForm form(FormText("", { "{{radiostart required}}", "-x X", "{{radioend}}", "-v {{text}} V" }));
        EXPECT_EQ(form.Dialog().m_btnRun.m_hWnd, ::GetFocus());
    }
}

TEST(FormFrame, TabMovesToTheNextEditBoxAndIsTraced)
{
    OpenForm form(FormText("", { "{{required text}} First", "-c Check", "-s {{text}} Second" }));
    HWND first = form.Control(0).m_pEdit->m_hWnd;
    ASSERT_EQ(first, ::GetFocus());
    form.ResetDiagnostics();
    MSG tab = {};
    tab.hwnd = first;
    tab.message = WM_KEYDOWN;
    tab.wParam = VK_TAB;
    static_cast<CWnd&>(form.Dialog()).PreTranslateMessage(&tab);
    // The checkbox is no tab stop.
    HWND second = form.Control(2).m_pEdit->m_hWnd;
    EXPECT_EQ(second, ::GetFocus());
    EXPECT_EQ(0u, form.Diagnostics().find("\n[TAB KEY PRESSED]\n[FOCUS Before Tab] HWND="));
    char after[64];
    // Window handles are written as the system's printf writes %p.
    snprintf(after, sizeof after, "[FOCUS After Tab] HWND=%08lX, ID=%d", (unsigned long)(UINT_PTR)second,
             ::GetDlgCtrlID(second));
    EXPECT_TRUE(form.Logged(after));
}

TEST(FormFrame, PanelForwardsNotificationsToTheDialog)
{
    OpenForm form(FormText("", { "{{radiostart}}", "-a A", "-b B", "{{radioend}}" }));
    form.Control(1).m_pButton->SendMessage(BM_CLICK);
    EXPECT_TRUE(form.Logged("OnRadioClicked: nID=5001 (radio button selected)\n"));
}

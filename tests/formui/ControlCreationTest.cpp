// The windows created for each kind of control line: class, style,
// identifier and text; labels under both flag settings; the Run button
// setting; drive lists; radio groups; and forms beyond the identifier ranges.

#include <gtest/gtest.h>

#include <set>

#include "FormHarness.h"
#include "formui/ControlIds.h"

namespace {

struct Expected {
    const char* className;
    DWORD style;
    int id;
    const char* text;
};

void ExpectWindow(const CWnd* window, const Expected& expected, const char* what)
{
    SCOPED_TRACE(what);
    ASSERT_NE(nullptr, window);
    HWND hWnd = window->m_hWnd;
    EXPECT_STREQ(expected.className, ClassOf(hWnd).c_str());
    // The system may add bits of its own, and takes some over itself: an
    // edit box draws the border it was asked for, a drop-down gives its
    // scroll bar to the list. Every other bit asked for must be there, and
    // the tab-stop and group bits exactly as asked.
    DWORD systemOwned = 0;
    if (ClassOf(hWnd) == "Edit")
        systemOwned = WS_BORDER;
    else if (ClassOf(hWnd) == "ComboBox")
        systemOwned = WS_VSCROLL;
    EXPECT_EQ(expected.style & ~systemOwned, StyleOf(hWnd) & expected.style & ~systemOwned);
    EXPECT_EQ(expected.style & (WS_TABSTOP | WS_GROUP), StyleOf(hWnd) & (WS_TABSTOP | WS_GROUP));
    EXPECT_EQ(expected.id, ::GetDlgCtrlID(hWnd));
    if (expected.text != nullptr) {
        EXPECT_EQ(std::string(expected.text), TextOf(hWnd));
    }
}

}  // namespace

TEST(ControlCreation, EveryKindGetsItsWindowsStylesAndIdentifiers)
{
    ScopedUiSettings settings(0, 0);
    OpenForm form(FormText("Kinds", {
        "{{required file}} Input file",       // 0: required path field
        "-o {{required newfile}} Output",     // 1
        "-v Verbose output",                  // 2: checkbox
        "{{radiostart required}}",
        "--fast Fast",                        // 3: radio, first of group 1
        "--level {{number}} Custom level",    // 4: typed radio
        "{{radioend}}",
        "\"\" {{text}} Extra arguments",      // 5: field without flag
        "{{drive}} -d Target drive",          // 6: drive field
        "{{button --list}} List contents",    // 7: action button
    }));
    HWND panel = form.Dialog().m_panel.m_hWnd;
    for (size_t i = 0; i < form.Dialog().m_form.m_controls.size(); ++i) {
        for (CWnd* w : { form.Control(i).m_pLabel.get(), form.Control(i).m_pEdit.get(), form.Control(i).m_pButton.get(),
                         form.Control(i).m_pBrowse.get(), form.Control(i).m_pCombo.get() })
            if (w != nullptr) {
                EXPECT_EQ(panel, ::GetParent(w->m_hWnd));
            }
    }
    // Required controls first: 0, 1, then the radios 3 and 4.
    ExpectWindow(form.Control(0).m_pLabel.get(), { "Static", 0x50000000, 2000, "Input file:" }, "label 0");
    ExpectWindow(form.Control(0).m_pEdit.get(), { "Edit", 0x50810080, 2001, "" }, "edit 0");
    ExpectWindow(form.Control(0).m_pBrowse.get(), { "Button", 0x50000000, 3000, "Browse..." }, "browse 0");
    ExpectWindow(form.Control(1).m_pLabel.get(), { "Static", 0x50000000, 2002, "Output:" }, "label 1");
    ExpectWindow(form.Control(1).m_pEdit.get(), { "Edit", 0x50810080, 2003, "" }, "edit 1");
    ExpectWindow(form.Control(1).m_pBrowse.get(), { "Button", 0x50000000, 3001, "Browse..." }, "browse 1");
    ExpectWindow(form.Control(3).m_pButton.get(), { "Button", 0x50022509, 5003, "--fast   Fast" }, "radio 3");
    EXPECT_EQ(nullptr, form.Control(3).m_pLabel.get());
    ExpectWindow(form.Control(4).m_pButton.get(), { "Button", 0x50002509, 5004, "--level" }, "typed radio 4");
    ExpectWindow(form.Control(4).m_pEdit.get(), { "Edit", 0x50810080, 8004, "" }, "typed radio edit 4");
    ExpectWindow(form.Control(4).m_pLabel.get(), { "Static", 0x50000000, 2004, "Custom level" }, "typed radio label 4");
    // Then the optional ones in file order.
    ExpectWindow(form.Control(2).m_pButton.get(), { "Button", 0x50002503, 2005, "-v   Verbose output" }, "checkbox 2");
    // The window after a radio group starts a new group: 0x50000000 | WS_GROUP.
    ExpectWindow(form.Control(5).m_pLabel.get(), { "Static", 0x50020000, 2006, "Extra arguments" }, "label 5");
    ExpectWindow(form.Control(5).m_pEdit.get(), { "Edit", 0x50810080, 2007, "" }, "edit 5");
    ExpectWindow(form.Control(6).m_pLabel.get(), { "Static", 0x50000000, 2008, "-d   Target drive" }, "label 6");
    ExpectWindow(form.Control(6).m_pCombo.get(), { "ComboBox", 0x50210003, 2009, nullptr }, "drive list 6");
    EXPECT_EQ(nullptr, form.Control(6).m_pEdit.get());
    ExpectWindow(form.Control(7).m_pButton.get(), { "Button", 0x50012000, 7007, "List contents" }, "action 7");
    EXPECT_EQ(2010, form.Dialog().m_nNextControlId);

    EXPECT_TRUE(form.Logged("CreateControls - Phase 2: Creating labels and checkboxes\nCreating 8 controls\n"));
    EXPECT_TRUE(form.Logged("  Created radio 4: '--level' (group=1, first=0, typed=1)\n"));
    EXPECT_TRUE(form.Logged("  Control 0 initialization complete: Input file (type=file, bIsFileType=1)\n"));
    EXPECT_TRUE(form.Logged("  Closed radio group 1: set WS_GROUP on control 5\n"));
    EXPECT_FALSE(form.Logged("Run button hidden"));
    EXPECT_TRUE(StyleOf(form.Dialog().m_btnRun.m_hWnd) & WS_VISIBLE);
}

TEST(ControlCreation, RequiredControlsTakeTheLowerSequentialIdentifiers)
{
    OpenForm form(FormText("", { "-a {{text}} Optional first", "{{required text}} Required second" }));
    EXPECT_EQ(2000, form.Control(1).m_pLabel->GetDlgCtrlID());
    EXPECT_EQ(2001, form.Control(1).m_pEdit->GetDlgCtrlID());
    EXPECT_EQ(2002, form.Control(0).m_pLabel->GetDlgCtrlID());
    EXPECT_EQ(2003, form.Control(0).m_pEdit->GetDlgCtrlID());
}

TEST(ControlCreation, HideFlagsShowsLabelsWithoutTheirFlag)
{
    const std::string text = FormText("", { "-o {{file}} Output", "{{required file}} Output", "/v Verbose",
                                            "{{radiostart}}", "-n {{number}} Count", "{{radioend}}" });
    for (int hideFlags : { 0, 1 }) {
        ScopedUiSettings settings(hideFlags, -1);
        OpenForm form(text);
        EXPECT_EQ(hideFlags ? "Output:" : "-o   Output:", form.Control(0).m_pLabel->GetWindowText());
        EXPECT_EQ("Output:", form.Control(1).m_pLabel->GetWindowText());
        EXPECT_EQ(hideFlags ? "Verbose" : "/v   Verbose", form.Control(2).m_pButton->GetWindowText());
        // A typed radio shows its flag on the button whatever the setting.
        EXPECT_EQ("-n", form.Control(3).m_pButton->GetWindowText());
        EXPECT_EQ("Count", form.Control(3).m_pLabel->GetWindowText());
    }
}

TEST(ControlCreation, ActionButtonsHideTheRunButtonUnlessTheSettingIsOff)
{
    const std::string text = FormText("", { "{{button -x}} Do it" });
    {
        ScopedUiSettings settings(-1, -1);  // no key: hidden by default
        OpenForm form(text);
        EXPECT_FALSE(StyleOf(form.Dialog().m_btnRun.m_hWnd) & WS_VISIBLE);
        EXPECT_TRUE(form.Logged("Run button hidden (action buttons present and setting enabled)\n"));
    }
    {
        // Enter in a field does not start the command of the hidden Run
        // (the empty required field would have been refused in a box).
        ScopedUiSettings settings(-1, -1);
        OpenForm form(FormText("", { "{{required text}} Name", "{{button -x}} Do it" }));
        MSG enter = {};
        enter.hwnd = form.Control(0).m_pEdit->m_hWnd;
        enter.message = WM_KEYDOWN;
        enter.wParam = VK_RETURN;
        EXPECT_TRUE(static_cast<CWnd&>(form.Dialog()).PreTranslateMessage(&enter));
        EXPECT_FALSE(form.Logged("RUN BUTTON CLICKED"));
        EXPECT_TRUE(form.Boxes().empty());
    }
    {
        ScopedUiSettings settings(-1, 0);
        OpenForm form(text);
        EXPECT_TRUE(StyleOf(form.Dialog().m_btnRun.m_hWnd) & WS_VISIBLE);
    }
}

TEST(ControlCreation, DriveListOffersEveryDriveWithoutItsBackslash)
{
    OpenForm form(FormText("", { "{{drive}} Drive" }));
    auto* combo = static_cast<CComboBox*>(form.Control(0).m_pCombo.get());
    ASSERT_NE(nullptr, combo);
    std::vector<std::string> expected = { "<select drive>" };
    char roots[512] = {};
    ::GetLogicalDriveStringsA(511, roots);
    for (const char* root = roots; *root; root += strlen(root) + 1)
        expected.push_back(std::string(root).substr(0, strlen(root) - 1));
    ASSERT_GT(expected.size(), 1u);
    ASSERT_EQ((int)expected.size(), combo->GetCount());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(expected[i], combo->GetLBText((int)i));
    EXPECT_EQ(0, combo->GetCurSel());
    EXPECT_TRUE(form.Logged("  Found drive: '" + expected[1] + "', AddString result: 1\n"));
}

TEST(ControlCreation, LargeFormsOpenWithoutWarningsAndGetTheTableIdentifiers)
{
    // Past the 100 path fields and 1000 action buttons once announced as
    // the most supported: every button responds, so nothing warns, and
    // every window gets the identifier of the one table.
    std::vector<std::string> lines = { "{{radiostart}}", "-n {{text}} N", "{{radioend}}" };
    for (int i = 0; i < 101; ++i)
        lines.push_back("-f" + std::to_string(i) + " {{file}} F");
    for (int i = 0; i < 1001; ++i)
        lines.push_back("{{button -b" + std::to_string(i) + "}} B");
    lines.push_back("-t {{required text}} T");
    OpenForm form(FormText("", lines));
    EXPECT_TRUE(form.Boxes().empty());
    EXPECT_FALSE(form.Logged("exceeds limit"));

    const FormControlIds ids = AssignControlIds(form.Dialog().m_form);
    std::set<int> seen;
    for (size_t i = 0; i < ids.controls.size(); ++i) {
        const FormControl& def = form.Control(i);
        const ControlWindowIds& expected = ids.controls[i];
        const std::pair<CWnd*, int> windows[] = { { def.m_pLabel.get(), expected.label }, { def.m_pEdit.get(), expected.edit },
                                                  { def.m_pButton.get(), expected.button }, { def.m_pCombo.get(), expected.combo },
                                                  { def.m_pBrowse.get(), expected.browse } };
        for (const auto& [window, id] : windows) {
            ASSERT_EQ(window != nullptr, id != kNoControlId) << "control " << i;
            if (window == nullptr)
                continue;
            ASSERT_EQ(id, window->GetDlgCtrlID()) << "control " << i;
            ASSERT_TRUE(seen.insert(id).second) << "identifier " << id << " twice";
        }
    }
    EXPECT_EQ(8000, form.Control(0).m_pEdit->GetDlgCtrlID());
    EXPECT_EQ(3101, form.Control(101).m_pBrowse->GetDlgCtrlID());
    EXPECT_EQ(2000, form.Control(1103).m_pLabel->GetDlgCtrlID());  // the required one, first
    EXPECT_EQ(ids.nextSequentialId, form.Dialog().m_nNextControlId);
}

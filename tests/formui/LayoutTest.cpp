// Positions and sizes given by the layout, computed here from the text
// heights the dialog measures with the real font, so that the expectations
// follow the platform's font metrics.

#include <gtest/gtest.h>

#include <algorithm>

#include "FormHarness.h"

namespace {

struct Box {
    int x, y, width, height;
};

Box OnPanel(OpenForm& form, const CWnd* window)
{
    RECT r = RectIn(window->m_hWnd, form.Dialog().m_panel.m_hWnd);
    return { r.left, r.top, r.right - r.left, r.bottom - r.top };
}

void ExpectBox(const Box& expected, const Box& actual, const char* what)
{
    SCOPED_TRACE(what);
    EXPECT_EQ(expected.x, actual.x);
    EXPECT_EQ(expected.y, actual.y);
    EXPECT_EQ(expected.width, actual.width);
    EXPECT_EQ(expected.height, actual.height);
}

// W, the content width: 36 pixels less than the client width the layout
// started from, of which the panel has all but 16.
int ContentWidth(OpenForm& form) { return OnPanel(form, &form.Dialog().m_panel).width - 20; }

int Measure(OpenForm& form, const CWnd* window, int width)
{
    return form.Dialog().MeasureTextHeight(window->GetWindowText(), width);
}

const char kLongText[] =
    "A label long enough to wrap onto several lines in the narrow column beside the input, because it "
    "goes on and on about what the option does, how it interacts with the others, and why one might want it.";

}  // namespace

TEST(Layout, EmptyFormGetsTheMinimumHeightAndNoScrollBar)
{
    OpenForm bare("");
    RECT template_ = {};
    bare.Dialog().GetWindowRect(&template_);

    OpenForm form(FormText("", {}));
    CTavrelDlg& dlg = form.Dialog();
    EXPECT_EQ(45, dlg.m_nContentHeight);
    RECT outer = {};
    dlg.GetWindowRect(&outer);
    EXPECT_EQ(90, outer.bottom - outer.top);
    EXPECT_EQ(template_.right - template_.left - 16, outer.right - outer.left);
    EXPECT_FALSE(StyleOf(dlg.m_scrollBar.m_hWnd) & WS_VISIBLE);
    EXPECT_FALSE(StyleOf(dlg.m_groupRequired.m_hWnd) & WS_VISIBLE);
    EXPECT_FALSE(StyleOf(dlg.m_staticDescription.m_hWnd) & WS_VISIBLE);
    // Narrowed by the strip it does not need, the panel fills the client area.
    EXPECT_EQ(form.ClientWidth(), OnPanel(form, &dlg.m_panel).width);
    ExpectBox({ form.ClientWidth() - 70, 10, 60, 25 }, OnPanel(form, &dlg.m_btnRun), "run");
    EXPECT_TRUE(form.Logged("Dialog height constrained to minimum: 90\n"));
    EXPECT_TRUE(form.Logged("No scrollbar needed - reducing width by 16 pixels\n"));
    EXPECT_TRUE(form.Logged("No required fields found, hiding group box\n"));
}

TEST(Layout, FirstRowStartsBelowTheMeasuredDescription)
{
    for (const std::string& description : { std::string("One line."), std::string(kLongText) + " " + kLongText }) {
        SCOPED_TRACE(description);
        OpenForm form(FormText(description, { "-v Verbose" }));
        int cw = ContentWidth(form) + 36;
        int h = form.Dialog().MeasureTextHeight(description, cw - 106);
        ExpectBox({ 10, 10, cw - 106, h }, OnPanel(form, &form.Dialog().m_staticDescription), "description");
        EXPECT_EQ(std::max(h + 10, 35) + 20, OnPanel(form, form.Control(0).m_pButton.get()).y);
    }
}

TEST(Layout, RequiredBlockSitsInTheGroupBoxAndTheDialogFitsTheContent)
{
    OpenForm form(FormText("", { "-a {{text}} Optional", "{{required text}} Name" }));
    CTavrelDlg& dlg = form.Dialog();
    const int W = ContentWidth(form);
    EXPECT_EQ(45, form.Control(1).m_nLayoutY);
    EXPECT_EQ(20, form.Control(1).m_nLayoutHeight);
    ExpectBox({ 5, 30, W + 10, 40 }, OnPanel(form, &dlg.m_groupRequired), "group box");
    // 9 after the control, 10 more between the blocks.
    EXPECT_EQ(45 + 20 + 9 + 10, form.Control(0).m_nLayoutY);
    EXPECT_EQ(45 + 20 + 9 + 10 + 20 + 9, dlg.m_nContentHeight);

    RECT outer = {};
    dlg.GetWindowRect(&outer);
    const int frame = (outer.bottom - outer.top) - form.ClientHeight();
    EXPECT_EQ(dlg.m_nContentHeight + std::max(30, frame), outer.bottom - outer.top);
    EXPECT_GE(form.ClientHeight(), dlg.m_nContentHeight);
    EXPECT_EQ(dlg.m_nContentHeight, OnPanel(form, &dlg.m_panel).height);
}

TEST(Layout, FieldsCentreLabelAndInputAndPathFieldsPutTheirInputBelow)
{
    OpenForm form(FormText("", { "-s {{text}} Short", std::string("-l {{text}} ") + kLongText,
                                 "-i {{file}} Input", "-v Verbose" }));
    const int W = ContentWidth(form);
    int y = 45;
    int m = Measure(form, form.Control(0).m_pLabel.get(), W - 105);
    ASSERT_LT(m, 20);
    ExpectBox({ 10, y, 100, 20 }, OnPanel(form, form.Control(0).m_pEdit.get()), "short edit");
    ExpectBox({ 115, y + (20 - m) / 2, W - 105, m }, OnPanel(form, form.Control(0).m_pLabel.get()), "short label");

    y += 20 + 9;
    m = Measure(form, form.Control(1).m_pLabel.get(), W - 105);
    ASSERT_GT(m, 20);
    ExpectBox({ 10, y + (m - 20) / 2, 100, 20 }, OnPanel(form, form.Control(1).m_pEdit.get()), "long edit");
    ExpectBox({ 115, y, W - 105, m }, OnPanel(form, form.Control(1).m_pLabel.get()), "long label");

    y += m + 9;
    m = Measure(form, form.Control(2).m_pLabel.get(), W);
    ExpectBox({ 10, y, W, m }, OnPanel(form, form.Control(2).m_pLabel.get()), "path label");
    ExpectBox({ 10, y + m + 2, W - 65, 20 }, OnPanel(form, form.Control(2).m_pEdit.get()), "path edit");
    ExpectBox({ W - 50, y + m + 2, 60, 20 }, OnPanel(form, form.Control(2).m_pBrowse.get()), "browse");
    EXPECT_EQ(m + 22, form.Control(2).m_nLayoutHeight);
    EXPECT_EQ(y + m + 31, form.Control(3).m_nLayoutY);
}

TEST(Layout, RadiosOfOneGroupAreFivePixelsApart)
{
    OpenForm form(FormText("", { "{{radiostart}}", "-a A", "-b B", std::string("-c ") + kLongText, "{{radioend}}",
                                 "-x {{text}} After" }));
    const int W = ContentWidth(form);
    int y = 45;
    for (size_t i = 0; i < 3; ++i) {
        int h = Measure(form, form.Control(i).m_pButton.get(), W - 20);
        ExpectBox({ 10, y, W, h }, OnPanel(form, form.Control(i).m_pButton.get()), "radio");
        y += h + (i < 2 ? 5 : 9);
    }
    EXPECT_EQ(y, form.Control(3).m_nLayoutY);
}

TEST(Layout, TypedRadiosPlaceButtonEditAndLabelInARow)
{
    OpenForm form(FormText("", { "{{radiostart required}}", "-n {{number}} Count", "{{radioend}}",
                                 "{{radiostart}}", "-m {{text}} Mode", "--a-rather-long-flag {{text}} Long",
                                 "{{radioend}}" }));
    const int W = ContentWidth(form);
    FormControl& required = form.Control(0);
    ExpectBox({ 10, 45, 50, 20 }, OnPanel(form, required.m_pButton.get()), "required button");
    ExpectBox({ 65, 45, 100, 20 }, OnPanel(form, required.m_pEdit.get()), "required edit");
    ExpectBox({ 170, 45, W - 160, 20 }, OnPanel(form, required.m_pLabel.get()), "required label");

    const int y = 45 + 20 + 9 + 10;
    FormControl& optional = form.Control(1);
    ExpectBox({ 10, y, 50, 20 }, OnPanel(form, optional.m_pButton.get()), "optional button");
    ExpectBox({ 60, y, 100, 20 }, OnPanel(form, optional.m_pEdit.get()), "optional edit");
    ExpectBox({ 165, y, W - 155, 20 }, OnPanel(form, optional.m_pLabel.get()), "optional label");

    // A flag too long for 50 pixels widens its button; the row moves right
    // and still ends at the margin.
    FormControl& longFlag = form.Control(2);
    EXPECT_EQ(y + 20 + 5, longFlag.m_nLayoutY);
    Box button = OnPanel(form, longFlag.m_pButton.get());
    int extra = button.width - 50;
    EXPECT_GT(extra, 0);
    ExpectBox({ 60 + extra, y + 25, 100, 20 }, OnPanel(form, longFlag.m_pEdit.get()), "long flag edit");
    ExpectBox({ 165 + extra, y + 25, W - 155 - extra, 20 }, OnPanel(form, longFlag.m_pLabel.get()), "long flag label");
}

TEST(Layout, ActionButtonIsAsTallAsItsWrappedText)
{
    OpenForm form(FormText("", { "{{button -s}} Short", std::string("{{button -l}} ") + kLongText + " " + kLongText }));
    const int W = ContentWidth(form);
    int y = 45;
    for (size_t i = 0; i < 2; ++i) {
        CWnd* button = form.Control(i).m_pButton.get();
        HDC dc = ::GetDC(button->m_hWnd);
        HGDIOBJ old = ::SelectObject(dc, button->GetFont());
        RECT r = { 0, 0, W - 16, 10000 };
        ::DrawTextA(dc, button->GetWindowText().c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK);
        ::SelectObject(dc, old);
        ::ReleaseDC(button->m_hWnd, dc);
        int h = std::max<int>(r.bottom - r.top + 12, 20);
        ExpectBox({ 10, y, W, h }, OnPanel(form, button), "action button");
        y += h + 9;
    }
    EXPECT_GT(form.Control(1).m_nLayoutHeight, form.Control(0).m_nLayoutHeight + 12);
}

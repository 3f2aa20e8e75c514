// The form moved to a monitor of another scale lays itself out again for
// that DPI, and at every scale a user sees every text whole, no window over
// another and every required row inside the "Required" box. Texts are
// measured in the font each window really shows them in.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FormHarness.h"
#include "common/DpiScale.h"
#include "formui/RunHistoryDlg.h"
#include "support/DpiChecks.h"

namespace {

const std::string kLong = "a label long enough to wrap onto more than one line in the column it is given, "
                          "saying what the option does and why one would want it";

const std::vector<std::string> kEveryKind = {
    "{{required text}} Name " + kLong,
    "{{required newfiledir}} A file or folder to create",
    "{{required drive}} A drive",
    "{{radiostart required}}",
    "--level {{number}} Compression level of your own",
    "--fast Fast " + kLong,
    "{{radioend}}",
    "-n {{number}} A number",
    "-f {{file}} A file " + kLong,
    "--verbose-output A checkbox " + kLong,
    "{{button --go}} An action button " + kLong,
};

// The form's own promise beyond every window's: required rows inside the
// "Required" box, below its caption.
void ExpectRequiredRowsInTheirBox(CTavrelDlg& dialog)
{
    const HWND panel = dialog.m_panel.m_hWnd;
    const RECT box = RectIn(dialog.m_groupRequired.m_hWnd, panel);
    const int caption = TextSizeIn(dialog.m_groupRequired.m_hWnd, "Required", 0).cy;
    for (const FormControl& control : dialog.m_formControls) {
        if (!control.Def().m_bRequired)
            continue;
        for (CWnd* part : { control.m_pLabel.get(), control.m_pEdit.get(), control.m_pButton.get(),
                            control.m_pCombo.get(), control.m_pBrowse.get() }) {
            if (part == nullptr)
                continue;
            const RECT rect = RectIn(part->m_hWnd, panel);
            SCOPED_TRACE(TextOf(part->m_hWnd));
            EXPECT_GE(rect.left, box.left);
            EXPECT_LE(rect.right, box.right);
            EXPECT_GE(rect.top, box.top + caption);
            EXPECT_LE(rect.bottom, box.bottom);
        }
    }
}

// The example forms as shipped, and one with long labels and every kind.
std::vector<std::string> FormsToCheck()
{
    std::vector<std::string> forms = { FormText("A description " + kLong, kEveryKind) };
    for (const char* name : { "every-control.gui", "ipconfig.gui", "list-folder.gui", "ping.gui", "robocopy.gui",
                              "service.gui", "tall.gui" }) {
        std::string text;
        EXPECT_TRUE(ReadWholeFile(std::string(TAVREL_EXAMPLES_DIR) + "/" + name, text)) << name;
        forms.push_back(text);
    }
    return forms;
}

}  // namespace

TEST(DpiLayout, MovingToAnotherScaleLaysTheFormOutAgainKeepingWhatWasTypedAndWhatWasInView)
{
    for (const std::string& text : FormsToCheck()) {
        SCOPED_TRACE(text.substr(0, text.find('\n')));
        for (int dpi : { 96, 120, 144, 192 }) {
            SCOPED_TRACE("dpi " + std::to_string(dpi));
            OpenForm form(text);
            CTavrelDlg& dialog = form.Dialog();
            // Something typed, and on a form that scrolls its last row
            // scrolled into view: the row at the top of the view then is
            // the one that stays in view.
            size_t typed = dialog.m_formControls.size();
            for (size_t i = 0; i < dialog.m_formControls.size(); ++i)
                if (form.Control(i).m_pEdit)
                    typed = i;
            const bool canType = typed < dialog.m_formControls.size();  // not on a form of lists alone
            if (canType)
                form.SetText(typed, "typed before the move");
            const FormControl& last = dialog.m_formControls.back();
            dialog.ScrollIntoView(last.FirstWindow()->m_hWnd);
            const FormControl* top = nullptr;
            for (const FormControl& control : dialog.m_formControls)
                if (top == nullptr && control.m_nLayoutY + control.m_nLayoutHeight > dialog.m_nScrollPos)
                    top = &control;
            ASSERT_NE(nullptr, top);
            RECT outer = {};
            dialog.GetWindowRect(&outer);
            const int openedAt = dialog.m_nDpi;

            MoveToMonitorOfDpi(dialog.m_hWnd, openedAt, dpi);

            EXPECT_EQ(dpi, dialog.m_nDpi);
            if (canType) {
                EXPECT_EQ("typed before the move", TextOf(form.Control(typed).m_pEdit->m_hWnd));
            }
            EXPECT_GE(top->m_nLayoutY, dialog.m_nScrollPos);
            EXPECT_LE(top->m_nLayoutY + top->m_nLayoutHeight, dialog.m_nScrollPos + dialog.m_nClientHeight);
            ExpectChildrenWholeAndApart(dialog.m_panel.m_hWnd, dpi);
            RECT client = {};
            dialog.GetClientRect(&client);
            EXPECT_LE(RectIn(dialog.m_panel.m_hWnd, dialog.m_hWnd).right, client.right);
            ExpectRequiredRowsInTheirBox(dialog);
            if (dpi != openedAt) {
                // Sized for the new scale: the content grew with it.
                RECT after = {};
                dialog.GetWindowRect(&after);
                EXPECT_GT(after.right - after.left, outer.right - outer.left);
            }
        }
    }
}

TEST(DpiLayout, TheRunHistoryWindowFollowsEveryScale)
{
    std::vector<RunRecord> runs(2);
    runs[0].commandLine = "cmd /c echo one";
    runs[1].commandLine = "cmd /c echo two";
    runs[1].exitCode = 3;
    for (int dpi : { 96, 120, 144, 192 }) {
        SCOPED_TRACE("dpi " + std::to_string(dpi));
        RunHistoryDlg history(runs, nullptr);
        ASSERT_TRUE(history.Create());
        const HWND close = history.GetDlgItem(IDCANCEL);
        const RECT before = RectIn(close, history.m_hWnd);
        const int openedAt = history.m_nDpi;
        MoveToMonitorOfDpi(history.m_hWnd, openedAt, dpi);
        // Its buttons keep their size at the new scale when it lays itself out.
        const RECT after = RectIn(close, history.m_hWnd);
        EXPECT_NEAR(RescaleDpi(before.bottom - before.top, openedAt, dpi), after.bottom - after.top, 1);
        ExpectChildrenWholeAndApart(history.m_hWnd, dpi);
        history.DestroyWindow();
    }
}

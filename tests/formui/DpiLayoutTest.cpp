// The form moved to a monitor of another scale lays itself out again for
// that DPI, and at every scale a user sees every text whole, no window over
// another and every required row inside the "Required" box. Texts are
// measured in the font each window really shows them in.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FormHarness.h"
#include "common/DpiScale.h"

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

RECT ClientRectOf(HWND window)
{
    RECT rect = {};
    ::GetClientRect(window, &rect);
    return rect;
}

// The size of `text` in `window`'s own font, wrapped at `width` (or on one
// line when `width` is 0).
SIZE TextSize(HWND window, const std::string& text, int width)
{
    HDC dc = ::GetDC(window);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(window, WM_GETFONT, 0, 0)));
    RECT rect = { 0, 0, width, 0 };
    ::DrawTextA(dc, text.c_str(), -1, &rect, DT_CALCRECT | (width > 0 ? DT_WORDBREAK : DT_SINGLELINE));
    ::SelectObject(dc, old);
    ::ReleaseDC(window, dc);
    return { rect.right - rect.left, rect.bottom - rect.top };
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

// Everything a user could see cut off or overlapped on the form's panel.
void ExpectWholeAndApart(OpenForm& form, int dpi)
{
    CTavrelDlg& dialog = form.Dialog();
    const HWND panel = dialog.m_panel.m_hWnd;
    const RECT panelArea = ClientRectOf(panel);
    const RECT dialogArea = ClientRectOf(dialog.m_hWnd);
    EXPECT_LE(RectIn(panel, dialog.m_hWnd).right, dialogArea.right);
    // A check box's or radio button's glyph, a drop-down's arrow, a push
    // button's frame: the room beside the text.
    const int glyph = ScaleForDpi(16, dpi);
    const int frame = ScaleForDpi(6, dpi);
    std::vector<std::pair<HWND, RECT>> shown;
    for (HWND child = ::GetWindow(panel, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!(StyleOf(child) & WS_VISIBLE))
            continue;
        const RECT rect = RectIn(child, panel);
        const RECT client = ClientRectOf(child);
        const std::string text = TextOf(child);
        SCOPED_TRACE(ClassOf(child) + " '" + text + "'");
        EXPECT_TRUE(Inside(rect, panelArea));
        const DWORD kind = StyleOf(child) & BS_TYPEMASK;
        if (child == dialog.m_groupRequired.m_hWnd) {
            EXPECT_LE(TextSize(child, text, 0).cx + 2 * frame, client.right);
            continue;  // it frames others: checked below
        }
        if (ClassOf(child) == "Static") {
            EXPECT_LE(TextSize(child, text, client.right).cy, client.bottom);
        } else if (ClassOf(child) == "Button" && (kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON)) {
            EXPECT_LE(TextSize(child, text, client.right - 2 * frame).cy + frame, client.bottom);
            EXPECT_LE(TextSize(child, "W", 0).cx + 2 * frame, client.right);
        } else if (ClassOf(child) == "Button") {
            // A flag alone (typed radio) must show on one line.
            const bool oneWord = text.find(' ') == std::string::npos;
            if (oneWord)
                EXPECT_LE(TextSize(child, text, 0).cx + glyph, client.right);
            else
                EXPECT_LE(TextSize(child, text, client.right - glyph).cy, client.bottom);
        } else if (ClassOf(child) == "ComboBox") {
            EXPECT_LE(TextSize(child, "<select drive>", 0).cx + glyph + frame, client.right);
        } else if (ClassOf(child) == "Edit") {
            EXPECT_LE(TextSize(child, "Wy", 0).cy, client.bottom);
        }
        shown.push_back({ child, rect });
    }
    for (size_t a = 0; a < shown.size(); ++a)
        for (size_t b = a + 1; b < shown.size(); ++b)
            EXPECT_FALSE(Overlap(shown[a].second, shown[b].second))
                << TextOf(shown[a].first) << " / " << TextOf(shown[b].first);

    // Required rows sit inside the box, below its caption.
    const RECT box = RectIn(dialog.m_groupRequired.m_hWnd, panel);
    const int caption = TextSize(dialog.m_groupRequired.m_hWnd, "Required", 0).cy;
    for (const FormControl& control : dialog.m_formControls) {
        if (!control.Def().m_bRequired)
            continue;
        for (CWnd* part : { control.m_pLabel.get(), control.m_pEdit.get(), control.m_pButton.get(),
                            control.m_pCombo.get(), control.m_pBrowse.get() }) {
            if (part == nullptr)
                continue;
            const RECT rect = RectIn(part->m_hWnd, panel);
            EXPECT_TRUE(Inside(rect, box)) << TextOf(part->m_hWnd);
            EXPECT_GE(rect.top, box.top + caption) << TextOf(part->m_hWnd);
        }
    }
}

}  // namespace

TEST(DpiLayout, MovingToAnotherScaleLaysTheFormOutAgainKeepingWhatWasTyped)
{
    for (int dpi : { 96, 120, 144, 192 }) {
        SCOPED_TRACE("dpi " + std::to_string(dpi));
        OpenForm form(FormText("A description " + kLong, kEveryKind));
        CTavrelDlg& dialog = form.Dialog();
        const int openedAt = dialog.m_nDpi;
        form.SetText(0, "typed before the move");
        RECT outer = {};
        dialog.GetWindowRect(&outer);
        RECT suggested = { outer.left, outer.top, outer.left + RescaleDpi(outer.right - outer.left, openedAt, dpi),
                           outer.top + RescaleDpi(outer.bottom - outer.top, openedAt, dpi) };
        dialog.SendMessage(WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));

        EXPECT_EQ(dpi, dialog.m_nDpi);
        EXPECT_EQ("typed before the move", TextOf(form.Control(0).m_pEdit->m_hWnd));
        ExpectWholeAndApart(form, dpi);
        if (dpi != openedAt) {
            // Sized for the new scale: the content grew with it.
            RECT after = {};
            dialog.GetWindowRect(&after);
            EXPECT_GT(after.right - after.left, outer.right - outer.left);
        }
    }
}

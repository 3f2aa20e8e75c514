// The form moved to a monitor of another scale: fonts and layout for the new
// DPI, in the rectangle the system suggests, with the typed values and the
// row that was at the top of the view kept.

#include "common/Diag.h"
#include "formui/TavrelDlg.h"
#include "framework/DisplayScale.h"

LRESULT CTavrelDlg::OnDpiChanged(WPARAM wParam, LPARAM lParam)
{
    const int dpi = HIWORD(wParam);
    if (dpi > 0 && lParam != 0)
        ChangeDpi(dpi, SuggestedRect(lParam));
    return 0;
}

void CTavrelDlg::ChangeDpi(int dpi, const RECT& suggested)
{
    Diag("DPI changed from %d to %d - laying the form out again\n", m_nDpi, dpi);
    // The first row still in view, and how far into the view it was.
    int anchor = -1;
    for (size_t i = 0; i < m_formControls.size() && anchor < 0; ++i) {
        const FormControl& control = m_formControls[i];
        if (control.m_nLayoutHeight > 0 && control.m_nLayoutY + control.m_nLayoutHeight > m_nScrollPos)
            anchor = static_cast<int>(i);
    }
    const int anchorOffset = anchor >= 0 ? m_formControls[anchor].m_nLayoutY - m_nScrollPos : 0;
    ScrollTo(0);

    const int oldDpi = m_nDpi;
    m_nDpi = dpi;
    const HFONT font = FormFont();
    for (CWnd* fixed : { static_cast<CWnd*>(&m_staticDescription), static_cast<CWnd*>(&m_btnRun),
                         static_cast<CWnd*>(&m_groupRequired) })
        if (fixed->IsWindow())
            fixed->SetFont(font, FALSE);
    for (FormControl& control : m_formControls)
        for (CWnd* window : { control.m_pLabel.get(), control.m_pEdit.get(), control.m_pButton.get(),
                              control.m_pCombo.get(), control.m_pBrowse.get() })
            if (window != nullptr && window->IsWindow())
                window->SetFont(font, FALSE);

    // The layout narrows a dialog that needs no scroll bar by the bar's
    // strip: it starts again from the width with the strip.
    int width = suggested.right - suggested.left;
    if (m_bScrollStripDropped)
        width += FormFrameMetricsFor(dpi).scrollStripWidth;
    SetWindowPos(nullptr, suggested.left, suggested.top, width, suggested.bottom - suggested.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    LayoutControls();
    if (anchor >= 0)
        ScrollTo(m_formControls[anchor].m_nLayoutY - RescaleDpi(anchorOffset, oldDpi, dpi));
    if (m_panel.IsWindow())
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

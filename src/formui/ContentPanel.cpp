#include "formui/ContentPanel.h"

BEGIN_MESSAGE_MAP(CContentPanel, CWnd)
    ON_WM_GETDLGCODE()
    ON_MESSAGE(WM_DESTROY, OnDestroyPanel)
END_MESSAGE_MAP()

// The field controls are the panel's children, so their notifications arrive
// here; the dialog's message map is where they are handled.
BOOL CContentPanel::OnCommand(WPARAM wParam, LPARAM lParam)
{
    return (BOOL)::SendMessageA(::GetParent(m_hWnd), WM_COMMAND, wParam, lParam);
}

UINT CContentPanel::OnGetDlgCode() { return DLGC_WANTCHARS; }

// The handles of this panel's windows may be given to new windows later:
// nothing of them may outlive the panel's window.
LRESULT CContentPanel::OnDestroyPanel(WPARAM, LPARAM)
{
    m_placements.clear();
    m_base = 0;
    return Default();
}

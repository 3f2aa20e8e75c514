#include "formdef/ControlDef.h"

#include "formdef/FormKeywords.h"

#if defined(_WIN32)
#include "framework/Wnd.h"

namespace {
void DeleteWindow(CWnd*& window)
{
    delete window;
    window = nullptr;
}
}  // namespace

CControlDef::~CControlDef()
{
    DeleteWindow(m_pLabel);
    DeleteWindow(m_pEdit);
    DeleteWindow(m_pButton);
    DeleteWindow(m_pBrowse);
    DeleteWindow(m_pCombo);
}
#else
// Window objects exist only in the Windows program: natively the five
// pointers stay null and there is nothing to delete.
CControlDef::~CControlDef() = default;
#endif

bool CControlDef::IsPathType() const { return IsPathTypeKeyword(m_strType); }

ControlKind CControlDef::Kind() const
{
    if (m_bActionButton)
        return ControlKind::ActionButton;
    if (m_nRadioGroup >= 0)
        return m_strType.empty() ? ControlKind::Radio : ControlKind::TypedRadio;
    if (m_strType.empty() && !m_strFlag.empty())
        return ControlKind::Checkbox;
    return ControlKind::Field;
}

int CControlDef::WindowCount() const
{
    switch (Kind()) {
    case ControlKind::TypedRadio:
        return m_strLabel.empty() ? 2 : 3;
    case ControlKind::Field:
        return IsPathType() ? 3 : 2;
    default:
        return 1;
    }
}

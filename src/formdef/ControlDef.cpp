#include "formdef/ControlDef.h"

#include "formdef/FormKeywords.h"

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

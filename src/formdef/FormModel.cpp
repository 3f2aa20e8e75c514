#include "formdef/FormModel.h"

CFormModel::~CFormModel() { Clear(); }

void CFormModel::Clear()
{
    // Destroy in file order (std::vector leaves the order of clear() open),
    // then give the storage back.
    for (auto& control : m_controls) control.reset();
    std::vector<std::unique_ptr<CControlDef>>().swap(m_controls);
    m_strCommand.clear();
    m_strDescription.clear();
    m_strBatchScript.clear();
    m_bInRadioGroup = 0;
    m_bRadioGroupRequired = 0;
    m_nRadioGroup = 0;
    m_nNextIndex = 0;
    m_bBatchCmd = 0;
    // Group numbers start again from 1 after this.
    m_nLastGroupWithMember = kNoGroupYet;
    m_nWindowsNeeded = 0;
    m_pAttributeTarget = nullptr;
    m_nAttributeTargetLine = 0;
}

bool CFormModel::IsFirstMemberOfCurrentGroup()
{
    if (m_nLastGroupWithMember == m_nRadioGroup) return false;
    m_nLastGroupWithMember = m_nRadioGroup;
    return true;
}

#include "formui/PresetNameDlg.h"

#include "formui/RunHistory.h"
#include "resource.h"

PresetNameDlg::PresetNameDlg(const std::string& caption, const std::vector<std::string>& names, CWnd* parent)
    : CDialog(IDD_PRESET_NAME, parent), m_caption(caption), m_names(names)
{
}

BOOL PresetNameDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowText(m_caption);
    HWND combo = GetDlgItem(IDC_PRESET_NAME);
    for (const std::string& existing : m_names)
        ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(existing.c_str()));
    ::SetFocus(combo);
    return FALSE;  // the focus is set
}

void PresetNameDlg::OnOK()
{
    HWND combo = GetDlgItem(IDC_PRESET_NAME);
    std::string typed(static_cast<size_t>(::GetWindowTextLengthA(combo)) + 1, '\0');
    typed.resize(static_cast<size_t>(::GetWindowTextA(combo, &typed[0], static_cast<int>(typed.size()))));
    name = TrimPresetName(typed);
    // An empty name is no answer: the dialog waits for one (or Cancel).
    if (name.empty()) {
        ::SetFocus(combo);
        return;
    }
    EndDialog(IDOK);
}

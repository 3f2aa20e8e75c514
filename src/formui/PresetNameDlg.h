#pragma once
// Asks for the name of a preset: a new or existing one when saving, an
// existing one when deleting. The drop-down lists the presets there are.

#include <string>
#include <vector>

#include "framework/Dialog.h"

class PresetNameDlg : public CDialog {
public:
    PresetNameDlg(const std::string& caption, const std::vector<std::string>& names, CWnd* parent);

    // Set when DoModal returns IDOK: never empty, without surrounding blanks.
    std::string name;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    std::string m_caption;
    std::vector<std::string> m_names;
};

#pragma once
// ConfigDlg: the program's about box and settings page in one modal dialog.
// It shows the quick start, opens the web page and the local manual,
// registers the two form file types for the current user, and edits the
// on/off settings, which it saves however it is closed.

#include "framework/Controls.h"
#include "framework/Dialog.h"

class ConfigDlg : public CDialog {
public:
    // Loads the rich-edit library first: the template's quick-start control
    // is of a class that exists only once that library is loaded.
    explicit ConfigDlg(CWnd* parent = nullptr);
    ~ConfigDlg() override;

    // Bound in DoDataExchange, in this order.
    CRichEditCtrl m_quickStart;       // 1012
    CButton m_growLeft;               // 1006
    CButton m_growRight;              // 1007
    CButton m_hideFlags;              // 1013
    CButton m_hideRunWithButtons;     // 1014
    CButton m_rememberValues;         // 1015

protected:
    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    // Close button and Enter; Escape, the close box and the system menu's
    // Close come to OnCancel. Both save the settings.
    void OnOK() override;
    void OnCancel() override;

    void OnOpenWebsite();
    void OnOpenManual();
    void OnAssociateGui();
    void OnAssociateGuiAdmin();

    DECLARE_MESSAGE_MAP()

private:
    void LoadQuickStart();
    void SaveSettings();
};

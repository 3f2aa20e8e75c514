#include "config/ConfigDlg.h"

#include <shellapi.h>
#include <richedit.h>

#include "common/Diag.h"
#include "config/FileAssociations.h"
#include "framework/ModulePath.h"
#include "framework/SystemLibrary.h"
#include "config/RtfStream.h"
#include "config/Settings.h"
#include "common/TextFormat.h"
#include "framework/WinApp.h"
#include "resource.h"

namespace {
const char kWebsiteAddress[] = "https://tavrel.app/";
const char kManualFileName[] = "manual.html";

// Checked is state 1 exactly; unchecked and indeterminate both mean off.
bool IsTicked(const CButton& box) { return box.GetCheck() == BST_CHECKED; }
}  // namespace

BEGIN_MESSAGE_MAP(ConfigDlg, CDialog)
    ON_COMMAND(IDC_OPEN_WEBSITE, OnOpenWebsite)
    ON_COMMAND(IDC_OPEN_MANUAL, OnOpenManual)
    ON_COMMAND(IDC_ASSOC_GUI, OnAssociateGui)
    ON_COMMAND(IDC_ASSOC_GUI_ADMIN, OnAssociateGuiAdmin)
END_MESSAGE_MAP()

ConfigDlg::ConfigDlg(CWnd* parent) : CDialog(IDD_CONFIG, parent)
{
    LoadRichEditLibrary();
}

ConfigDlg::~ConfigDlg() = default;

void ConfigDlg::DoDataExchange()
{
    CDialog::DoDataExchange();
    DDX_Control(IDC_QUICKSTART, m_quickStart);
    DDX_Control(IDC_GROW_LEFT, m_growLeft);
    DDX_Control(IDC_GROW_RIGHT, m_growRight);
    DDX_Control(IDC_HIDE_FLAGS, m_hideFlags);
    DDX_Control(IDC_HIDE_RUN_WITH_BUTTONS, m_hideRunWithButtons);
    DDX_Control(IDC_REMEMBER_VALUES, m_rememberValues);
}

BOOL ConfigDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    LoadQuickStart();
    m_growLeft.SetCheck(ReadGrowLeft() != 0 ? BST_CHECKED : BST_UNCHECKED);
    m_growRight.SetCheck(ReadGrowRight() != 0 ? BST_CHECKED : BST_UNCHECKED);
    m_hideFlags.SetCheck(ReadHideFlags() != 0 ? BST_CHECKED : BST_UNCHECKED);
    m_hideRunWithButtons.SetCheck(ReadHideRunWithButtons() != 0 ? BST_CHECKED : BST_UNCHECKED);
    m_rememberValues.SetCheck(ReadRememberValues() != 0 ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void ConfigDlg::LoadQuickStart()
{
    if (!m_quickStart.IsWindow())
        return;
    HMODULE module = ::GetModuleHandleA(nullptr);
    HRSRC resource = ::FindResourceA(module, MAKEINTRESOURCEA(IDR_QUICKSTART), (LPCSTR)RT_RCDATA);
    if (resource == nullptr) {
        Diag("ConfigDlg: IDR_QUICKSTART resource not found\n");
        m_quickStart.SetWindowText("Quick-start content not available.");
        return;
    }
    HGLOBAL loaded = ::LoadResource(module, resource);
    const void* data = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (data == nullptr) {
        Diag("ConfigDlg: LoadResource failed\n");
        return;
    }
    DWORD size = ::SizeofResource(module, resource);

    DWORD error = StreamRtfIntoControl(m_quickStart, data, size);
    if (error != 0)
        Diag("ConfigDlg: EM_STREAMIN error %d\n", (int)error);
    else
        Diag("ConfigDlg: RTF streamed OK (%d bytes)\n", (int)size);

    m_quickStart.SendMessage(EM_SETREADONLY, TRUE);
    m_quickStart.SendMessage(EM_HIDESELECTION, TRUE);
}

void ConfigDlg::SaveSettings()
{
    // Every key is tried, so that as much as can be kept is kept.
    bool saved = WriteGrowLeft(IsTicked(m_growLeft));
    saved = WriteGrowRight(IsTicked(m_growRight)) && saved;
    saved = WriteHideFlags(IsTicked(m_hideFlags)) && saved;
    saved = WriteHideRunWithButtons(IsTicked(m_hideRunWithButtons)) && saved;
    saved = WriteRememberValues(IsTicked(m_rememberValues)) && saved;
    if (saved)
        return;
    // A folder the user cannot write to would otherwise undo the changes
    // without a word.
    const std::string path = GetSettingsPath();
    Diag("ConfigDlg: settings could not be saved to %s\n", path.c_str());
    AfxMessageBox(FormatText("The settings could not be saved to\n%s\n\nThe file or its folder may be read-only. "
                             "The settings in effect before stay in effect.",
                             path.c_str()),
                  MB_OK | MB_ICONEXCLAMATION);
}

void ConfigDlg::OnOK()
{
    SaveSettings();
    EndDialog(IDOK);
}

// Escape and the close box save too: the user has no other way to keep a
// change than to close the dialog somehow.
void ConfigDlg::OnCancel()
{
    SaveSettings();
    EndDialog(IDOK);
}

void ConfigDlg::OnOpenWebsite()
{
    ::ShellExecuteA(nullptr, "open", kWebsiteAddress, nullptr, nullptr, SW_SHOWNORMAL);
}

void ConfigDlg::OnOpenManual()
{
    std::string manualPath = PathBesideModule(CurrentModulePath(), kManualFileName);
    HINSTANCE result = ::ShellExecuteA(nullptr, "open", manualPath.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    if (reinterpret_cast<INT_PTR>(result) <= 32)
        AfxMessageBox(FormatText("Could not open manual.\n\nExpected location:\n%s", manualPath.c_str()),
                      MB_OK | MB_ICONEXCLAMATION);
}

void ConfigDlg::OnAssociateGui() { AssociateExtension(".gui", "tavrel.gui"); }

void ConfigDlg::OnAssociateGuiAdmin() { AssociateExtension(".gui-admin", "tavrel.gui-admin"); }

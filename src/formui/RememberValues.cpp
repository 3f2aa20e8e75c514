// The form's remembered values: put back while the form opens, stored once
// a run has started, cleared from the system menu.

#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "common/Diag.h"
#include "config/Settings.h"
#include "formui/RememberedValues.h"
#include "formui/TavrelDlg.h"
#include "formui/ValueStore.h"
#include "framework/WinApp.h"

namespace {

bool HasWindow(const CWnd* window) { return window != nullptr && window->IsWindow(); }

std::vector<ControlIdentity> IdentitiesOf(const CFormModel& form)
{
    std::vector<const CControlDef*> controls;
    for (const auto& control : form.m_controls)
        controls.push_back(control.get());
    return IdentifyControls(controls);
}

bool IsChecked(const CWnd* button) { return HasWindow(button) && button->SendMessage(BM_GETCHECK) != 0; }

void SetChecked(CWnd* button, bool checked)
{
    if (HasWindow(button))
        button->SendMessage(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED);
}

void SetEditText(CWnd* edit, const std::string& text)
{
    if (HasWindow(edit))
        edit->SetWindowText(text);
}

// A drive that is gone (an unplugged stick) cannot be chosen; the drop-down
// then stays at "<select drive>".
void SelectDrive(CWnd* combo, const std::string& drive)
{
    if (!HasWindow(combo))
        return;
    LRESULT item = drive.empty() ? CB_ERR
                                 : combo->SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                      reinterpret_cast<LPARAM>(drive.c_str()));
    combo->SendMessage(CB_SETCURSEL, item == CB_ERR ? 0 : static_cast<WPARAM>(item));
}

// Where the store is, so that the user can look at the file or its folder
// (read-only, full, or not there at all).
std::string StoreProblemText(const std::string& formPath, const char* failedTo)
{
    const std::string file = RememberedValuesFile(formPath);
    return file.empty() ? std::string("there is no folder for application data.")
                        : "the file\n" + file + "\ncould not be " + failedTo + " (it or its folder may be read-only).";
}

}  // namespace

void CTavrelDlg::RestoreFieldValues()
{
    std::vector<RememberedValue> stored;
    if (!LoadRememberedValues(m_strGuiPath, stored))
        return;
    const int restored = ApplyFieldValues(stored);
    if (restored >= 0)
        Diag("Remembered values restored for %d of %d controls\n", restored, static_cast<int>(m_form.m_controls.size()));
}

int CTavrelDlg::ApplyFieldValues(const std::vector<RememberedValue>& stored)
{
    if (m_formControls.size() != m_form.m_controls.size())
        return -1;  // the controls are not created yet
    const std::vector<ControlIdentity> identities = IdentitiesOf(m_form);
    const std::vector<const RememberedValue*> matches = MatchRememberedValues(identities, stored);

    // Texts first: text put into a typed radio's box selects its radio
    // button, and the stored choice must have the last word.
    int restored = 0;
    for (size_t i = 0; i < matches.size(); ++i) {
        if (matches[i] == nullptr)
            continue;
        FormControl& control = m_formControls[i];
        ++restored;
        if (identities[i].kind == "drive")
            SelectDrive(control.m_pCombo.get(), matches[i]->text);
        else if (control.m_pCombo)
            control.SelectItem(matches[i]->text);  // a value no longer offered is dropped
        else
            SetEditText(control.m_pEdit.get(), matches[i]->text);
    }
    std::set<int> groupsWithChoice;
    for (size_t i = 0; i < matches.size(); ++i) {
        const std::string& kind = identities[i].kind;
        if (matches[i] == nullptr || (kind != "checkbox" && kind != "radio" && kind != "typedradio"))
            continue;
        const FormControl& control = m_formControls[i];
        bool checked = matches[i]->checked;
        // Edited forms may bring two stored choices into one group.
        const int group = control.Def().m_nRadioGroup;
        if (checked && group >= 0)
            checked = groupsWithChoice.insert(group).second;
        SetChecked(control.m_pButton.get(), checked);
    }
    return restored;
}

std::vector<RememberedValue> CTavrelDlg::CurrentFieldValues() const
{
    std::vector<RememberedValue> values;
    if (m_formControls.size() != m_form.m_controls.size())
        return values;  // the controls are not created yet
    const std::vector<ControlIdentity> identities = IdentitiesOf(m_form);
    for (size_t i = 0; i < identities.size(); ++i) {
        if (identities[i].kind.empty())
            continue;  // an action button, or no definition at all
        const FormControl& control = m_formControls[i];
        RememberedValue value;
        value.control = identities[i];
        if (value.control.kind == "drive" || control.m_pCombo)
            value.text = control.GetValue();
        else if (HasWindow(control.m_pEdit.get()))
            value.text = control.m_pEdit->GetWindowText();  // a typed radio's box, chosen or not
        value.checked = IsChecked(control.m_pButton.get());
        values.push_back(value);
    }
    return values;
}

ControlIdentity CTavrelDlg::IdentityOfControl(size_t position) const
{
    const std::vector<ControlIdentity> identities = IdentitiesOf(m_form);
    return position < identities.size() ? identities[position] : ControlIdentity();
}

void CTavrelDlg::StoreFieldValues()
{
    if (m_formControls.size() != m_form.m_controls.size())
        return;  // the controls are not created yet
    // Told once per opening: every run would otherwise bring the box again.
    if (!StoreRememberedValues(m_strGuiPath, CurrentFieldValues()) && !m_bToldValuesNotKept) {
        m_bToldValuesNotKept = true;
        AfxMessageBox("The values of this form could not be kept for its next opening: " +
                          StoreProblemText(m_strGuiPath, "written"),
                      MB_OK | MB_ICONEXCLAMATION);
    }
}

void CTavrelDlg::ClearFieldValues()
{
    Diag("Clearing remembered values\n");
    if (!ForgetRememberedValues(m_strGuiPath)) {
        Diag("WARNING: Remembered values could not be removed\n");
        AfxMessageBox("The remembered values of this form could not be cleared, and will come back when it opens "
                      "again: " + StoreProblemText(m_strGuiPath, "changed"),
                      MB_OK | MB_ICONEXCLAMATION);
    }
    // Back to how the form opens: empty, then the defaults.
    for (FormControl& control : m_formControls) {
        SetEditText(control.m_pEdit.get(), std::string());
        if (control.Def().m_attributes.HasChoices())
            control.ResetChoice();
        else
            SelectDrive(control.m_pCombo.get(), std::string());
        if (!control.Def().m_bActionButton)
            SetChecked(control.m_pButton.get(), false);
        control.ApplyDefault();
    }
}

LRESULT CTavrelDlg::OnRunStarted(WPARAM, LPARAM)
{
    // Posted before the console opened; the runner holds the child's handle
    // only when the command was started.
    if (!m_strGuiPath.empty() && m_runner.ProcessHandle() != nullptr && ReadRememberValues() != 0)
        StoreFieldValues();
    return 0;
}

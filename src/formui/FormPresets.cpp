// Presets: named sets of the form's values, saved from the system menu and
// put back by choosing their name. They live in the form's store with the
// remembered values, and are kept whatever the remembering setting says:
// the user asked for each by name.

#include <windows.h>

#include <string>
#include <vector>

#include "common/Diag.h"
#include "common/TextFormat.h"
#include "formui/PresetNameDlg.h"
#include "formui/RunHistory.h"
#include "formui/TavrelDlg.h"
#include "formui/ValueStore.h"
#include "framework/WinApp.h"

namespace {

std::vector<std::string> NamesOf(const std::vector<ValuePreset>& presets)
{
    std::vector<std::string> names;
    for (const ValuePreset& preset : presets)
        names.push_back(preset.name);
    return names;
}

}  // namespace

void CTavrelDlg::AskAndSavePreset()
{
    if (m_strGuiPath.empty())
        return;
    FormStore store;
    LoadFormStore(m_strGuiPath, store);
    PresetNameDlg ask("Save values as preset", NamesOf(store.presets), this);
    if (ask.DoModal() != IDOK)
        return;
    if (const ValuePreset* existing = FindPreset(store.presets, ask.name)) {
        const std::string question = FormatText("Replace the preset \"%s\"?", existing->name.c_str());
        if (AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
    }
    SavePreset(ask.name);
}

bool CTavrelDlg::SavePreset(const std::string& name)
{
    FormStore store;
    // Read again: another window of the form may have written since.
    LoadFormStore(m_strGuiPath, store);
    SetPreset(store.presets, name, CurrentFieldValues());
    if (!SaveFormStore(m_strGuiPath, store)) {
        AfxMessageBox("The preset could not be saved.", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    Diag("Saved preset: %s\n", FindPreset(store.presets, name)->name.c_str());
    return true;
}

void CTavrelDlg::AskAndDeletePreset()
{
    FormStore store;
    if (m_strGuiPath.empty() || !LoadFormStore(m_strGuiPath, store) || store.presets.empty())
        return;
    PresetNameDlg ask("Delete preset", NamesOf(store.presets), this);
    if (ask.DoModal() != IDOK)
        return;
    LoadFormStore(m_strGuiPath, store);
    if (!RemovePreset(store.presets, ask.name)) {
        AfxMessageBox(FormatText("There is no preset \"%s\".", ask.name.c_str()), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (!SaveFormStore(m_strGuiPath, store))
        AfxMessageBox("The preset could not be deleted.", MB_OK | MB_ICONEXCLAMATION);
    else
        Diag("Deleted preset: %s\n", ask.name.c_str());
}

void CTavrelDlg::ApplyPreset(size_t index)
{
    FormStore store;
    if (m_strGuiPath.empty() || !LoadFormStore(m_strGuiPath, store) || index >= store.presets.size())
        return;
    const ValuePreset& preset = store.presets[index];
    const int filled = ApplyFieldValues(preset.values);
    Diag("Preset %s filled %d of %d controls\n", preset.name.c_str(), filled, static_cast<int>(m_form.m_controls.size()));
}

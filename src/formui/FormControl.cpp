// What the user has entered in one control, and the check of that value by
// its type before a run.

#include "formui/FormControl.h"

#include <windows.h>

#include <string>

#include "formdef/FormKeywords.h"
#include "formui/PathProbe.h"
#include "framework/WideText.h"

namespace {

bool HasWindow(const CWnd* window) { return window != nullptr && window->IsWindow(); }

// Checkboxes and radio buttons carry a button type in the low style bits;
// the push button of an action button has none.
bool IsCheckOrRadio(const CWnd* button) { return (button->GetStyle() & BS_TYPEMASK) != 0; }

// The text of the chosen item; empty when none is chosen. `firstIsNone`:
// item 0 stands for no choice ("<select drive>").
std::string ChosenItem(const CWnd& combo, bool firstIsNone)
{
    LRESULT selected = combo.SendMessage(CB_GETCURSEL);
    if (selected == CB_ERR || (firstIsNone && selected == 0))
        return std::string();
    LRESULT length = combo.SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(selected));
    if (length == CB_ERR || length <= 0)
        return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    LRESULT copied = combo.SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(&text[0]));
    if (copied == CB_ERR || copied < 0)
        return std::string();
    text.resize(static_cast<size_t>(copied));
    return text;
}

enum class PathKind { Missing, File, Directory };

PathKind LookUp(const std::string& probe)
{
    DWORD attributes = GetFileAttributesA(probe.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return PathKind::Missing;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Directory : PathKind::File;
}

}  // namespace

std::string FormControl::GetValue() const
{
    const CControlDef& def = Def();
    // An action button speaks only while its own click is being handled.
    if (def.m_bActionButton && m_pButton && !m_pEdit && def.m_nRadioGroup < 0)
        return m_bPressed ? def.m_strFlag : std::string();

    if (HasWindow(m_pButton.get()) && IsCheckOrRadio(m_pButton.get())) {
        if (m_pButton->SendMessage(BM_GETCHECK) == 0)
            return std::string();
        // A typed radio's value is what its own edit box holds.
        if (HasWindow(m_pEdit.get()))
            return m_pEdit->GetWindowText();
        return def.m_strFlag;
    }

    if (HasWindow(m_pEdit.get()))
        return m_pEdit->GetWindowText();  // untrimmed: spaces are part of the value

    // A list of choices gives its chosen item as a field gives its text
    // (an optional list's empty first item gives an empty value).
    if (HasWindow(m_pCombo.get()))
        return ChosenItem(*m_pCombo, !def.m_attributes.HasChoices());

    return std::string();
}

FormControl::ValidationResult FormControl::Validate(const OverwriteQuestion& confirmOverwrite,
                                                    std::string& message) const
{
    message.clear();
    std::string value = GetValue();
    if (value.empty()) {
        if (!Def().m_bRequired)
            return kValid;
        message = "Required field is empty: " + Def().m_strLabel;
        return kInvalid;
    }

    const PathType* pathType = FindPathType(Def().m_strType);
    if (pathType != nullptr && pathType->existing) {
        PathKind kind = LookUp(MakeProbePath(value));
        if (kind == PathKind::Missing) {
            message = "Path does not exist: " + value;
            return kInvalid;
        }
        if (!pathType->folders && kind == PathKind::Directory) {
            message = "Expected a file, but path is a directory: " + value;
            return kInvalid;
        }
        if (!pathType->files && kind == PathKind::File) {
            message = "Expected a directory, but path is a file: " + value;
            return kInvalid;
        }
        return kValid;
    }

    if (pathType != nullptr && !pathType->existing && LookUp(MakeProbePath(value)) != PathKind::Missing) {
        if (!confirmOverwrite || confirmOverwrite(value) != IDYES)
            return kOverwriteRefused;
    }
    return kValid;
}

bool FormControl::SelectItem(const std::string& text)
{
    if (!HasWindow(m_pCombo.get()))
        return false;
    // CB_FINDSTRINGEXACT ignores case; choices that differ only in case
    // are different values.
    const LRESULT count = m_pCombo->SendMessage(CB_GETCOUNT);
    for (LRESULT item = 0; item < count; ++item) {
        LRESULT length = m_pCombo->SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(item));
        if (length == CB_ERR || static_cast<size_t>(length) != text.size())
            continue;
        std::string itemText(static_cast<size_t>(length) + 1, '\0');
        m_pCombo->SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&itemText[0]));
        itemText.resize(static_cast<size_t>(length));
        if (itemText == text) {
            m_pCombo->SendMessage(CB_SETCURSEL, static_cast<WPARAM>(item));
            return true;
        }
    }
    return false;
}

void FormControl::ResetChoice()
{
    if (HasWindow(m_pCombo.get()) && Def().m_attributes.HasChoices())
        m_pCombo->SendMessage(CB_SETCURSEL, Def().m_bRequired ? static_cast<WPARAM>(-1) : 0);
}

void FormControl::ApplyDefault()
{
    const ControlAttributes& attributes = Def().m_attributes;
    if (attributes.defaultLine == 0)
        return;
    if (HasWindow(m_pButton.get()) && IsCheckOrRadio(m_pButton.get())) {
        m_pButton->SendMessage(BM_SETCHECK, attributes.IsDefaultOn() ? BST_CHECKED : BST_UNCHECKED);
        return;
    }
    if (HasWindow(m_pCombo.get())) {
        SelectItem(attributes.defaultValue);  // a drive that is not there stays unchosen
        return;
    }
    if (HasWindow(m_pEdit.get())) {
        std::string text = attributes.defaultValue;
        std::string expanded;
        if (ExpandEnvironmentReferences(text, expanded))
            text = expanded;
        m_pEdit->SetWindowText(text);
    }
}

CWnd* FormControl::FirstWindow() const
{
    for (const std::unique_ptr<CWnd>* window : { &m_pButton, &m_pLabel, &m_pEdit }) {
        if (*window)
            return window->get();
    }
    return nullptr;
}

bool FormControl::HasPart(HWND window) const
{
    for (const std::unique_ptr<CWnd>* part : { &m_pEdit, &m_pButton, &m_pCombo, &m_pBrowse }) {
        if (*part && (*part)->m_hWnd == window)
            return true;
    }
    return false;
}

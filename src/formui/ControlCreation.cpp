// Turns the control definitions of the loaded form into windows on the
// content panel. Positions come later, from the layout.

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "common/Diag.h"
#include "config/Settings.h"
#include "formui/ControlIds.h"
#include "formui/FormLayout.h"
#include "formui/TavrelDlg.h"
#include "framework/DisplayScale.h"

namespace {

constexpr DWORD kActionButtonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_MULTILINE | BS_PUSHBUTTON;
constexpr DWORD kCheckboxStyle =
    WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX | BS_LEFT | BS_TOP | BS_MULTILINE;
constexpr DWORD kRadioStyle =
    WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON | BS_LEFT | BS_TOP | BS_MULTILINE;
constexpr DWORD kEditStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kLabelStyle = WS_CHILD | WS_VISIBLE;
constexpr DWORD kDriveListStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST;
// Not sorted: the items stay in the order the form gives them.
constexpr DWORD kChoiceListStyle = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST;
constexpr DWORD kBrowseStyle = WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON;
constexpr DWORD kDriveStringsBufferSize = 511;

const RECT kNoRect = { 0, 0, 0, 0 };

// Creates one window object in `font`; a window that fails to be created is
// deleted at once and null is returned.
template <class Window, class CreateFn>
std::unique_ptr<Window> MakeWindow(HFONT font, CreateFn create)
{
    auto window = std::make_unique<Window>();
    if (!create(*window))
        return nullptr;
    // Not drawn yet: the form shows after creation and paints in full then.
    window->SetFont(font, FALSE);
    return window;
}

// The open list is as wide as its widest item (the closed box keeps the
// field's width), so that long choices can be read before they are picked.
// Measured in the list's font; the frame and scroll bar at the list's DPI.
void WidenListToItems(CComboBox& combo, const std::vector<std::string>& items, int dpi)
{
    HDC dc = ::GetDC(combo.m_hWnd);
    if (dc == nullptr)
        return;
    HGDIOBJ old = ::SelectObject(dc, combo.GetFont());
    int widest = 0;
    for (const std::string& item : items) {
        SIZE size = {};
        if (::GetTextExtentPoint32A(dc, item.c_str(), static_cast<int>(item.size()), &size))
            widest = std::max(widest, static_cast<int>(size.cx));
    }
    ::SelectObject(dc, old);
    ::ReleaseDC(combo.m_hWnd, dc);
    const int margins = RescaleDpi(2 * ::GetSystemMetrics(SM_CXEDGE) + ::GetSystemMetrics(SM_CXVSCROLL), SystemDpi(), dpi) +
                        ScaleForDpi(8, dpi);
    combo.SendMessage(CB_SETDROPPEDWIDTH, static_cast<WPARAM>(widest + margins));
}

// "C:\" becomes "C:".
std::string DriveName(std::string root)
{
    while (!root.empty() && (root.back() == '\\' || root.back() == '/'))
        root.pop_back();
    return root;
}

class ControlFactory {
public:
    ControlFactory(CTavrelDlg& dialog, const FormControlIds& ids)
        : m_dialog(dialog), m_ids(ids), m_font(dialog.FormFont())
    {
    }

    void Create(FormControl& control, int index)
    {
        const ControlWindowIds& ids = m_ids.controls[static_cast<size_t>(index)];
        switch (control.Def().Kind()) {
        case ControlKind::ActionButton:
            CreateActionButton(control, index, ids);
            break;
        case ControlKind::Radio:
        case ControlKind::TypedRadio:
        case ControlKind::Checkbox:
            CreateCheckboxOrRadio(control, index, ids);
            break;
        case ControlKind::Field:
            CreateField(control, index, ids);
            break;
        }
    }

private:
    CWnd* Panel() { return &m_dialog.m_panel; }

    template <class Window, class CreateFn>
    std::unique_ptr<Window> Make(CreateFn create)
    {
        return MakeWindow<Window>(m_font, create);
    }

    void CreateActionButton(FormControl& control, int index, const ControlWindowIds& ids)
    {
        const CControlDef& def = control.Def();
        int id = ids.button;
        control.m_pButton = Make<CButton>([&](CButton& b) {
            return b.Create(def.m_strLabel, kActionButtonStyle, kNoRect, Panel(), id);
        });
        if (!control.m_pButton) {
            Diag("Failed to create action button for control %d\n", index);
            return;
        }
        Diag("  Created action button %d: %s\n", index, def.m_strLabel.c_str());
    }

    void CreateCheckboxOrRadio(FormControl& control, int index, const ControlWindowIds& ids)
    {
        const CControlDef& def = control.Def();
        const bool radio = def.m_nRadioGroup >= 0;
        const bool typed = def.Kind() == ControlKind::TypedRadio;
        std::string text = typed ? def.m_strFlag : m_dialog.FormatFlagLabel(def.m_strFlag, def.m_strLabel);

        DWORD style = radio ? kRadioStyle : kCheckboxStyle;
        if (radio && def.m_bFirstInGroup)
            style |= WS_GROUP;
        // The Tab key skips checkboxes and radio buttons.
        style &= ~static_cast<DWORD>(WS_TABSTOP);
        int id = ids.button;

        control.m_pButton = Make<CButton>([&](CButton& b) {
            return b.Create(text, style, kNoRect, Panel(), id);
        });
        if (!control.m_pButton) {
            Diag("Failed to create checkbox for control %d\n", index);
            return;
        }

        if (typed) {
            int editId = ids.edit;
            control.m_pEdit = Make<CEdit>([&](CEdit& e) {
                return e.Create(kEditStyle, kNoRect, Panel(), editId);
            });
            if (!control.m_pEdit)
                Diag("Failed to create radio edit for control %d\n", index);
            if (!def.m_strLabel.empty()) {
                int labelId = ids.label;
                const DWORD labelStyle = kLabelStyle | (def.m_attributes.helpLine != 0 ? SS_NOTIFY : 0);
                control.m_pLabel = Make<CStatic>([&](CStatic& s) {
                    return s.Create(def.m_strLabel, labelStyle, kNoRect, Panel(), labelId);
                });
                if (!control.m_pLabel)
                    Diag("Failed to create radio label for control %d\n", index);
            }
        }
        Diag("  Created %s %d: '%s' (group=%d, first=%d, typed=%d)\n", radio ? "radio" : "checkbox",
             index, text.c_str(), def.m_nRadioGroup, def.m_bFirstInGroup, typed ? 1 : 0);
    }

    std::string FieldLabel(const CControlDef& def)
    {
        std::string label = def.m_strLabel;
        if (!def.m_bRequired && !def.m_strFlag.empty() && !def.m_strType.empty())
            label = m_dialog.FormatFlagLabel(def.m_strFlag, def.m_strLabel);
        if (def.IsPathType())
            label += ":";
        return label;
    }

    void CreateField(FormControl& control, int index, const ControlWindowIds& ids)
    {
        const CControlDef& def = control.Def();
        std::string label = FieldLabel(def);
        int labelId = ids.label;
        // A label with help must see the mouse to show it.
        const DWORD labelStyle = kLabelStyle | (def.m_attributes.helpLine != 0 ? SS_NOTIFY : 0);
        control.m_pLabel = Make<CStatic>([&](CStatic& s) {
            return s.Create(label, labelStyle, kNoRect, Panel(), labelId);
        });
        if (!control.m_pLabel) {
            Diag("Failed to create label for control %d\n", index);
            return;
        }

        if (def.m_strType == "drive") {
            CreateDriveList(control, index, ids.combo);
        } else if (def.m_attributes.HasChoices()) {
            CreateChoiceList(control, index, ids.combo);
        } else {
            int editId = ids.edit;
            control.m_pEdit = Make<CEdit>([&](CEdit& e) {
                return e.Create(kEditStyle, kNoRect, Panel(), editId);
            });
            if (!control.m_pEdit)
                Diag("Failed to create edit box for control %d\n", index);
        }

        // A list of choices offers every value there is: nothing to browse for.
        if (def.IsPathType() && !def.m_attributes.HasChoices()) {
            int browseId = ids.browse;
            control.m_pBrowse = Make<CButton>([&](CButton& b) {
                return b.Create("Browse...", kBrowseStyle, kNoRect, Panel(), browseId);
            });
            if (control.m_pBrowse)
                Diag("  Created Browse button for control %d\n", index);
            else
                Diag("Failed to create Browse button for control %d\n", index);
        }
        Diag("  Control %d initialization complete: %s (type=%s, bIsFileType=%d)\n", index,
             def.m_strLabel.c_str(), def.m_strType.c_str(), def.IsPathType() ? 1 : 0);
    }

    // The field's drop-down list: an optional field's first entry is empty
    // and means "not given"; a required one starts with nothing chosen
    // unless it has a default (FieldDefaults).
    void CreateChoiceList(FormControl& control, int index, int id)
    {
        const CControlDef& def = control.Def();
        const RECT listRect = DropDownRect();
        std::unique_ptr<CComboBox> made = Make<CComboBox>([&](CComboBox& c) {
            return c.Create(kChoiceListStyle, listRect, Panel(), id);
        });
        if (!made) {
            Diag("Failed to create choice list for control %d\n", index);
            return;
        }
        if (!def.m_bRequired)
            made->AddString("");
        for (const std::string& item : def.m_attributes.choices)
            made->AddString(item);
        WidenListToItems(*made, def.m_attributes.choices, m_dialog.m_nDpi);
        Diag("  Created choice list for control %d with %d choices\n", index,
             static_cast<int>(def.m_attributes.choices.size()));
        control.m_pCombo = std::move(made);
        control.ResetChoice();
    }

    // A drop-down list is made at the width and open-list height the layout
    // gives an ordinary field's, so that the layout mostly only moves it:
    // resizing a drop-down resizes its list too, a window of its own, and
    // costs as much as a dozen controls.
    RECT DropDownRect() const
    {
        const FormFrameMetrics metrics = FormFrameMetricsFor(m_dialog.m_nDpi);
        return { 0, 0, metrics.inputWidth, metrics.dropDownHeight };
    }

    void CreateDriveList(FormControl& control, int index, int id)
    {
        const RECT listRect = DropDownRect();
        std::unique_ptr<CComboBox> made = Make<CComboBox>([&](CComboBox& c) {
            return c.Create(kDriveListStyle, listRect, Panel(), id);
        });
        if (!made) {
            Diag("Failed to create drive combo box for control %d\n", index);
            return;
        }
        CComboBox* combo = made.get();
        control.m_pCombo = std::move(made);
        Diag("  AddString('<select drive>') result: %d\n", combo->AddString("<select drive>"));

        std::vector<char> roots(kDriveStringsBufferSize + 1, '\0');
        DWORD length = ::GetLogicalDriveStringsA(kDriveStringsBufferSize, roots.data());
        // A result above the buffer size is the size it would need: the
        // buffer holds nothing usable then.
        if (length != 0 && length <= kDriveStringsBufferSize) {
            Diag("Enumerating drives:\n");
            for (const char* root = roots.data(); *root != '\0'; root += strlen(root) + 1) {
                std::string drive = DriveName(root);
                int added = combo->AddString(drive);
                Diag("  Found drive: '%s', AddString result: %d\n", drive.c_str(), added);
            }
            int selected = combo->SetCurSel(0);
            Diag("  SetCurSel(0) result: %d, Count: %d\n", selected, combo->GetCount());
        }
        Diag("  Created drive dropdown for control %d, HWND: %p\n", index, (void*)combo->m_hWnd);
    }

    CTavrelDlg& m_dialog;
    const FormControlIds& m_ids;
    const HFONT m_font;
};

// Keyboard navigation among radio buttons stops at the next WS_GROUP: the
// first window after each group gets one.
void CloseRadioGroups(const std::vector<FormControl>& controls)
{
    const size_t count = controls.size();
    size_t i = 0;
    while (i < count) {
        const int group = controls[i].Def().m_nRadioGroup;
        if (group < 0) {
            ++i;
            continue;
        }
        size_t end = i + 1;
        while (end < count && controls[end].Def().m_nRadioGroup == group)
            ++end;
        if (end < count) {
            CWnd* window = controls[end].FirstWindow();
            if (window != nullptr && window->IsWindow()) {
                window->ModifyStyle(0, WS_GROUP);
                Diag("  Closed radio group %d: set WS_GROUP on control %d\n", group, static_cast<int>(end));
            }
        }
        i = end;
    }
}

}  // namespace

std::string CTavrelDlg::FormatFlagLabel(const std::string& flag, const std::string& label)
{
    const int hideFlags = m_nHideFlagsWhileCreating >= 0 ? m_nHideFlagsWhileCreating : ReadHideFlags();
    if (hideFlags == 0 && !flag.empty())
        return flag + "   " + label;
    return label;
}

void CTavrelDlg::CreateControls()
{
    Diag("CreateControls - Phase 2: Creating labels and checkboxes\n");
    Diag("Creating %d controls\n", static_cast<int>(m_form.m_controls.size()));
    // One read of the flag setting serves every label of the form: a form
    // of a thousand labels would otherwise open the settings file a
    // thousand times.
    m_nHideFlagsWhileCreating = ReadHideFlags() != 0 ? 1 : 0;

    bool hasActionButton = false;
    for (const auto& def : m_form.m_controls)
        hasActionButton = hasActionButton || (def && def->m_bActionButton);
    if (hasActionButton && ReadHideRunWithButtons() != 0 && m_btnRun.IsWindow()) {
        m_btnRun.ShowWindow(SW_HIDE);
        Diag("Run button hidden (action buttons present and setting enabled)\n");
    }

    // Every window's identifier comes from the one table; the parser has
    // refused any form the table cannot serve.
    const FormControlIds ids = AssignControlIds(m_form);
    m_nNextControlId = ids.nextSequentialId;
    ControlFactory factory(*this, ids);
    m_formControls.clear();
    m_formControls.reserve(m_form.m_controls.size());
    for (const auto& def : m_form.m_controls)
        m_formControls.emplace_back(*def);
    // Required controls first, so that they hold the lower identifiers.
    Diag("Pass 1: Creating required fields\n");
    for (size_t i = 0; i < m_formControls.size(); ++i) {
        if (m_formControls[i].Def().m_bRequired)
            factory.Create(m_formControls[i], static_cast<int>(i));
    }
    Diag("Pass 2: Creating optional fields\n");
    for (size_t i = 0; i < m_formControls.size(); ++i) {
        if (!m_formControls[i].Def().m_bRequired)
            factory.Create(m_formControls[i], static_cast<int>(i));
    }

    CloseRadioGroups(m_formControls);
    m_nHideFlagsWhileCreating = -1;
    Diag("CreateControls complete\n");
}

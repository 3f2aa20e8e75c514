#pragma once
// One control line of a form definition: what the parser read from it, the
// windows later created for it, and where the layout put them.

#include <string>

#include "framework/Object.h"

class CWnd;
class CTavrelDlg;

// What a control line becomes in the form, decided from the parsed fields
// alone (so the parser, the form window and the checker agree).
enum class ControlKind {
    ActionButton,  // a {{button ...}} line
    Radio,         // member of a radio group, no type
    TypedRadio,    // member of a radio group with a type: button, edit box, label
    Checkbox,      // outside any group, no type, a flag
    Field,         // everything else: label and edit box or drive drop-down
};

class CControlDef : public CObject {
public:
    CControlDef() = default;
    // Deletes the owned windows (label, edit box, button, Browse button,
    // drive drop-down, in that order) and nulls their pointers.
    ~CControlDef() override;

    // True for the six types that name a file or folder ("file", "newfile",
    // "dir", "newdir", "filedir", "newfiledir"); exact, case-sensitive.
    bool IsPathType() const;

    ControlKind Kind() const;
    // How many windows the form creates for this control: one for a button,
    // checkbox or radio; two for a field or typed radio, plus a Browse button
    // for a path field and a label for a typed radio that has one.
    int WindowCount() const;

    // Outcome of checking one value before a run.
    enum ValidationResult {
        kValid,
        kInvalid,           // `message` says why; the user may still run
        kOverwriteRefused,  // the user declined to reuse an existing path
    };
    // The current value, read from the control's windows (Windows program
    // only; defined with the form behaviour in src/formui).
    std::string GetValue() const;
    // Checks the current value by type; `dialog` owns the overwrite question.
    ValidationResult Validate(CTavrelDlg* dialog, std::string& message) const;

    int m_nIndex = 0;         // position in file order, from 0
    int m_bRequired = 0;      // radio button: its group needs a selection
    int m_bActionButton = 0;  // a {{button ...}} line
    int m_bPressed = 0;       // run-time marker of the pressed action button
    std::string m_strType;    // type keyword, another tag word, or empty
    std::string m_strLabel;
    std::string m_strFlag;    // stands for the control on the command line
    CWnd* m_pLabel = nullptr;
    CWnd* m_pEdit = nullptr;
    CWnd* m_pButton = nullptr;
    CWnd* m_pCombo = nullptr;
    CWnd* m_pBrowse = nullptr;
    int m_nRadioGroup = -1;   // -1: belongs to no radio group
    int m_bFirstInGroup = 0;
    int m_nLayoutY = 0;
    int m_nLayoutHeight = 0;
};

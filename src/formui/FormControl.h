#pragma once
// One control of the open form: the definition it was made from and the
// windows the form created for it. The form window owns these objects, one
// per definition in file order; the definition itself stays windowless.

#include <functional>
#include <memory>
#include <string>

#include "formdef/ControlDef.h"
#include "framework/Wnd.h"

class FormControl {
public:
    // `def` must outlive this object (the form window clears its controls
    // before its model).
    explicit FormControl(const CControlDef& def) : m_def(&def) {}

    const CControlDef& Def() const { return *m_def; }

    // The current value, read from the windows: a field's text or drive, a
    // chosen checkbox's or radio's flag, a chosen typed radio's text, a
    // pressed action button's flag.
    std::string GetValue() const;

    // Outcome of checking one value before a run.
    enum ValidationResult {
        kValid,
        kInvalid,           // `message` says why; the user may still run
        kOverwriteRefused,  // the user declined to reuse an existing path
    };
    // Asked whether an existing path may be reused; answers IDYES or IDNO.
    using OverwriteQuestion = std::function<int(const std::string& path)>;
    // Checks the current value by the definition's type.
    ValidationResult Validate(const OverwriteQuestion& confirmOverwrite, std::string& message) const;

    // A field's drop-down list (choices or drives): chooses the item that
    // is exactly `text`; false, changing nothing, when there is none.
    bool SelectItem(const std::string& text);
    // A list of choices back to its first state: the empty "not given"
    // item of an optional field, nothing chosen in a required one.
    void ResetChoice();
    // What the control's {{default}} line says, put into its windows;
    // nothing without one.
    void ApplyDefault();

    // The first of the control's windows that exists, in the order button,
    // label, edit box: the window a row starts with in the tab order.
    CWnd* FirstWindow() const;
    // True when `window` is the edit box, button, drive list or Browse
    // button of this control.
    bool HasPart(HWND window) const;

    // A pointer stays null when the window is not part of the control's
    // kind or could not be created.
    std::unique_ptr<CWnd> m_pLabel;
    std::unique_ptr<CWnd> m_pEdit;
    std::unique_ptr<CWnd> m_pButton;
    std::unique_ptr<CWnd> m_pCombo;
    std::unique_ptr<CWnd> m_pBrowse;
    int m_nLayoutY = 0;       // where the layout put the row; 0 and 0 when it did not
    int m_nLayoutHeight = 0;
    int m_bPressed = 0;       // set on an action button while its own click is handled

private:
    const CControlDef* m_def;
};

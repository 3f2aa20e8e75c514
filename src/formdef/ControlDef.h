#pragma once
// One control line of a form definition: what the parser read from it. The
// definition knows nothing of windows: the form window keeps the windows it
// creates for a definition beside it (formui/FormControl.h).

#include <string>

#include "formdef/ControlAttributes.h"
#include "framework/Object.h"

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
    ~CControlDef() override = default;

    // True for the six types that name a file or folder ("file", "newfile",
    // "dir", "newdir", "filedir", "newfiledir"); exact, case-sensitive.
    bool IsPathType() const;

    ControlKind Kind() const;
    // How many windows the form creates for this control: one for a button,
    // checkbox or radio; two for a field or typed radio, plus a Browse button
    // for a path field and a label for a typed radio that has one.
    int WindowCount() const;

    int m_nIndex = 0;         // position in file order, from 0
    int m_bRequired = 0;      // radio button: its group needs a selection
    int m_bActionButton = 0;  // a {{button ...}} line
    std::string m_strType;    // type keyword, another tag word, or empty
    std::string m_strLabel;
    std::string m_strFlag;    // stands for the control on the command line
    int m_nRadioGroup = -1;   // -1: belongs to no radio group
    int m_bFirstInGroup = 0;
    ControlAttributes m_attributes;  // from the attribute lines below the control line
};

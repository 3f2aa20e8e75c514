// The command line of a run and its preview, built from the form's current
// values.

#include <string>

#include "formui/FormCommandLine.h"
#include "formui/TavrelDlg.h"

std::string CTavrelDlg::BuildCommandLine(bool withCommand)
{
    return BuildFormCommandLine(m_form, CurrentValueReader(), withCommand);
}

// What the user would run: for a batch form its command and the argument
// list its script would get (not the cmd line that really runs).
std::string CTavrelDlg::PreviewCommandLine() { return FormCommandPreview(m_form, CurrentValueReader()); }

ControlValueReader CTavrelDlg::CurrentValueReader() const
{
    return [this](const CControlDef& def) {
        const FormControl* control = ControlFor(def);
        return control != nullptr ? control->GetValue() : std::string();
    };
}

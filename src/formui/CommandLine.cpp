// The command line of a run, built from the form's current values.

#include <string>

#include "formui/FormCommandLine.h"
#include "formui/TavrelDlg.h"

std::string CTavrelDlg::BuildCommandLine(bool withCommand)
{
    return BuildFormCommandLine(m_form, [](const CControlDef& control) { return control.GetValue(); }, withCommand);
}

// The command line of a run, built from the form's current values.

#include <string>
#include <vector>

#include "formui/CommandLineQuoting.h"
#include "formui/TavrelDlg.h"

std::string CTavrelDlg::BuildCommandLine(bool withCommand)
{
    std::vector<const CControlDef*> controls;
    controls.reserve(m_form.m_controls.size());
    for (const auto& control : m_form.m_controls)
        controls.push_back(control.get());
    return AssembleCommandLine(
        m_form.m_strCommand, controls, [](const CControlDef& control) { return control.GetValue(); },
        withCommand);
}

#include "formui/FormCommandLine.h"

#include <vector>

#include "formdef/FormModel.h"

std::string BuildFormCommandLine(const CFormModel& form, const ControlValueReader& readValue, bool withCommand)
{
    std::vector<const CControlDef*> controls;
    controls.reserve(form.m_controls.size());
    for (const auto& control : form.m_controls)
        controls.push_back(control.get());
    return AssembleCommandLine(form.m_strCommand, controls, readValue, withCommand);
}

std::string FormCommandPreview(const CFormModel& form, const ControlValueReader& readValue)
{
    if (form.m_bBatchCmd)
        return form.m_strCommand + " " + BuildFormCommandLine(form, readValue, false);
    return BuildFormCommandLine(form, readValue, true);
}

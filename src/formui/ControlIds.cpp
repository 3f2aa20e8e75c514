#include "formui/ControlIds.h"

#include "formdef/FormModel.h"

int ControlIdFor(IdRange range, int index)
{
    for (const IdBlock& block : kIdBlocks) {
        if (block.range == range && index >= block.firstIndex &&
            index - block.firstIndex <= block.last - block.first)
            return block.first + (index - block.firstIndex);
    }
    return kNoControlId;
}

int ControlIndexFromId(IdRange range, int id)
{
    for (const IdBlock& block : kIdBlocks) {
        if (block.range == range && id >= block.first && id <= block.last)
            return block.firstIndex + (id - block.first);
    }
    return -1;
}

namespace {

void AssignOne(const CControlDef& def, int index, int& sequential, ControlWindowIds& ids)
{
    switch (def.Kind()) {
    case ControlKind::ActionButton:
        ids.button = ControlIdFor(IdRange::Action, index);
        break;
    case ControlKind::Checkbox:
        ids.button = ControlIdFor(IdRange::Sequential, sequential++);
        break;
    case ControlKind::Radio:
        ids.button = ControlIdFor(IdRange::Radio, index);
        break;
    case ControlKind::TypedRadio:
        ids.button = ControlIdFor(IdRange::Radio, index);
        ids.edit = ControlIdFor(IdRange::RadioEdit, index);
        if (!def.m_strLabel.empty())
            ids.label = ControlIdFor(IdRange::Sequential, sequential++);
        break;
    case ControlKind::Field:
        ids.label = ControlIdFor(IdRange::Sequential, sequential++);
        // A drive field and a field with choices have a drop-down list
        // instead of an edit box; a list of choices needs no Browse button.
        if (def.m_strType == "drive" || def.m_attributes.HasChoices())
            ids.combo = ControlIdFor(IdRange::Sequential, sequential++);
        else
            ids.edit = ControlIdFor(IdRange::Sequential, sequential++);
        if (def.IsPathType() && !def.m_attributes.HasChoices())
            ids.browse = ControlIdFor(IdRange::Browse, index);
        break;
    }
}

}  // namespace

FormControlIds AssignControlIds(const CFormModel& form)
{
    FormControlIds result;
    result.controls.resize(form.m_controls.size());
    int sequential = 0;
    for (bool requiredPass : { true, false }) {
        for (size_t i = 0; i < form.m_controls.size(); ++i) {
            const CControlDef* def = form.m_controls[i].get();
            if (def != nullptr && (def->m_bRequired != 0) == requiredPass)
                AssignOne(*def, static_cast<int>(i), sequential, result.controls[i]);
        }
    }
    result.nextSequentialId = ControlIdFor(IdRange::Sequential, sequential);
    return result;
}

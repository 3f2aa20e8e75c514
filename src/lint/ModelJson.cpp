#include "lint/ModelJson.h"

#include "formdef/FormModel.h"

namespace {

const char* KindName(ControlKind kind)
{
    switch (kind) {
    case ControlKind::ActionButton: return "action-button";
    case ControlKind::Radio: return "radio";
    case ControlKind::TypedRadio: return "typed-radio";
    case ControlKind::Checkbox: return "checkbox";
    case ControlKind::Field: return "field";
    }
    return "";
}

nlohmann::ordered_json WindowIds(const ControlWindowIds& ids)
{
    nlohmann::ordered_json json = nlohmann::ordered_json::object();
    const std::pair<const char*, int> windows[] = { { "label", ids.label }, { "edit", ids.edit }, { "button", ids.button },
                                                    { "combo", ids.combo }, { "browse", ids.browse } };
    for (const auto& [name, id] : windows) {
        if (id != kNoControlId)
            json[name] = id;
    }
    return json;
}

// Only what the attribute lines gave: a form without them reads as before.
void AddAttributes(const ControlAttributes& attributes, nlohmann::ordered_json& control)
{
    if (attributes.defaultLine != 0)
        control["default"] = attributes.defaultValue;
    // A command's choices are known only when it was run.
    if (attributes.HasChoices() && (attributes.choicesCommand.empty() || !attributes.choices.empty()))
        control["choices"] = attributes.choices;
    if (!attributes.choicesCommand.empty())
        control["choicesFrom"] = attributes.choicesCommand;
    if (attributes.patternLine != 0) {
        control["pattern"] = attributes.pattern;
        control["message"] = attributes.patternMessage;
    }
    if (attributes.helpLine != 0)
        control["help"] = attributes.help;
}

}  // namespace

nlohmann::ordered_json FormModelJson(const CFormModel& model, const FormControlIds& ids,
                                     const std::vector<int>& controlLines)
{
    nlohmann::ordered_json json;
    json["command"] = model.m_strCommand;
    json["description"] = model.m_strDescription;
    json["batchCmd"] = model.m_bBatchCmd != 0;
    if (model.m_bBatchCmd)
        json["batchScript"] = model.m_strBatchScript;
    nlohmann::ordered_json controls = nlohmann::ordered_json::array();
    for (size_t i = 0; i < model.m_controls.size(); ++i) {
        const CControlDef& def = *model.m_controls[i];
        nlohmann::ordered_json control;
        control["index"] = def.m_nIndex;
        if (i < controlLines.size())
            control["line"] = controlLines[i];
        control["kind"] = KindName(def.Kind());
        control["flag"] = def.m_strFlag;
        control["type"] = def.m_strType;
        control["label"] = def.m_strLabel;
        control["required"] = def.m_bRequired != 0;
        control["group"] = def.m_nRadioGroup;
        control["firstInGroup"] = def.m_bFirstInGroup != 0;
        AddAttributes(def.m_attributes, control);
        control["ids"] = i < ids.controls.size() ? WindowIds(ids.controls[i]) : nlohmann::ordered_json::object();
        controls.push_back(std::move(control));
    }
    json["controls"] = std::move(controls);
    return json;
}

std::string JsonText(const nlohmann::ordered_json& json)
{
    return json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

#include "lint/CommandValues.h"

#include <algorithm>
#include <cstdlib>
#include <map>

#include "common/EnvironmentReferences.h"
#include "formdef/FormModel.h"
#include "formdef/ValuePattern.h"
#include "formui/FormCommandLine.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace {

// The controls an assignment names: by flag first, else by label.
std::vector<const CControlDef*> Named(const CFormModel& model, const std::string& name)
{
    std::vector<const CControlDef*> found;
    for (const auto& def : model.m_controls)
        if (def->m_strFlag == name)
            found.push_back(def.get());
    if (found.empty()) {
        for (const auto& def : model.m_controls)
            if (def->m_strLabel == name)
                found.push_back(def.get());
    }
    return found;
}

BuiltCommand Refused(const std::string& why) { return { false, why }; }

// Why the form would not take `value` for `def` as it stands, or empty: a
// list offers only its choices (when they are known), and a pattern refuses
// a value it does not match, as Run does.
std::string ValueRefusal(const CControlDef& def, const std::string& name, const std::string& value)
{
    const ControlAttributes& attributes = def.m_attributes;
    if (value.empty())
        return std::string();
    if (!attributes.choices.empty() &&
        std::find(attributes.choices.begin(), attributes.choices.end(), value) == attributes.choices.end()) {
        std::string offered;
        for (const std::string& choice : attributes.choices)
            offered += (offered.empty() ? "" : ", ") + choice;
        return "'" + name + "' offers no choice '" + value + "' (it offers " + offered + ")";
    }
    if (attributes.patternLine != 0 && CheckPattern(attributes.pattern, value) != PatternCheck::Matches)
        return "'" + name + "' refuses '" + value + "': " +
               (attributes.patternMessage.empty() ? "it does not match " + attributes.pattern
                                                  : attributes.patternMessage);
    return std::string();
}

bool NamesControl(const std::string& assignment, const std::string& name)
{
    return !name.empty() && assignment.compare(0, name.size(), name) == 0 &&
           (assignment.size() == name.size() || assignment[name.size()] == '=');
}

// Flags and labels may hold '=' themselves (--color=always): the name is the
// longest flag or label that the assignment starts with, followed by '=' or
// nothing; without one, everything before the first '='.
size_t NameLength(const CFormModel& model, const std::string& assignment)
{
    size_t longest = 0;
    for (const auto& def : model.m_controls) {
        for (const std::string* name : { &def->m_strFlag, &def->m_strLabel })
            if (name->size() > longest && NamesControl(assignment, *name))
                longest = name->size();
    }
    return longest > 0 ? longest : std::min(assignment.find('='), assignment.size());
}

}  // namespace

BuiltCommand BuildCommandFor(const CFormModel& model, const std::vector<std::string>& assignments)
{
    std::map<const CControlDef*, std::string> values;
    std::map<int, const CControlDef*> chosenInGroup;
    const CControlDef* pressed = nullptr;
    for (const std::string& assignment : assignments) {
        const size_t nameLength = NameLength(model, assignment);
        const size_t equals = nameLength < assignment.size() ? nameLength : std::string::npos;
        const bool hasValue = equals != std::string::npos;
        const std::string name = assignment.substr(0, equals);
        std::vector<const CControlDef*> found = Named(model, name);
        if (found.empty())
            return Refused("no control has the flag or label '" + name + "'");
        if (found.size() > 1)
            return Refused("'" + name + "' names " + std::to_string(found.size()) + " controls");
        const CControlDef* def = found.front();
        const ControlKind kind = def->Kind();
        const bool takesValue = kind == ControlKind::Field || kind == ControlKind::TypedRadio;
        if (takesValue && !hasValue)
            return Refused("'" + name + "' needs a value: " + name + "=VALUE");
        if (!takesValue && hasValue)
            return Refused("'" + name + "' is ticked or pressed by its name alone, without a value");
        if (def->m_nRadioGroup >= 0) {
            auto [other, inserted] = chosenInGroup.emplace(def->m_nRadioGroup, def);
            if (!inserted && other->second != def)
                return Refused("'" + name + "' and '" + other->second->m_strFlag +
                               "' are in the same radio group: only one can be selected");
        }
        if (kind == ControlKind::ActionButton) {
            if (pressed != nullptr && pressed != def)
                return Refused("only one action button can be pressed");
            pressed = def;
        }
        if (takesValue) {
            const std::string refusal = ValueRefusal(*def, name, assignment.substr(equals + 1));
            if (!refusal.empty())
                return Refused(refusal);
        }
        values[def] = takesValue ? assignment.substr(equals + 1) : def->m_strFlag;
    }

    auto read = [&](const CControlDef& def) {
        auto it = values.find(&def);
        return it == values.end() ? std::string() : it->second;
    };
    return { true, FormCommandPreview(model, read) };
}

std::string ExpandEnvironmentReferences(const std::string& text)
{
#if defined(_WIN32)
    DWORD needed = ::ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    if (needed == 0)
        return text;
    std::string expanded(needed, '\0');
    DWORD written = ::ExpandEnvironmentStringsA(text.c_str(), &expanded[0], needed);
    if (written == 0 || written > needed)
        return text;
    expanded.resize(written - 1);
    return expanded;
#else
    return ExpandReferencesWith(text, [](const std::string& name, std::string& value) {
        const char* found = getenv(name.c_str());
        if (found != nullptr)
            value = found;
        return found != nullptr;
    });
#endif
}

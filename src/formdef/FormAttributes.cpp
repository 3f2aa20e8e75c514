// Attribute lines: a control line that starts with {{default}},
// {{choices}}, {{choices-from}}, {{pattern MESSAGE}} or {{help}} makes no
// control of its own and tells more about the control made by the nearest
// control line above it. A misplaced attribute is a format error at its line;
// the parse goes on without it.

#include <algorithm>
#include <string>

#include "common/Diag.h"
#include "formdef/ChoicesCommand.h"
#include "formdef/ControlAttributes.h"
#include "formdef/FormModel.h"
#include "formdef/LineReader.h"
#include "formdef/ValuePattern.h"

namespace {

// A control's kind in messages, with its article.
const char* KindName(const CControlDef& control)
{
    switch (control.Kind()) {
    case ControlKind::ActionButton: return "an action button";
    case ControlKind::Radio: return "a radio button";
    case ControlKind::TypedRadio: return "a typed radio";
    case ControlKind::Checkbox: return "a checkbox";
    case ControlKind::Field: return control.m_strType == "drive" ? "a drive field" : "a field";
    }
    return "a control";
}

bool IsDriveField(const CControlDef& control)
{
    return control.Kind() == ControlKind::Field && control.m_strType == "drive";
}

bool Suits(const std::string& keyword, const CControlDef& control)
{
    const ControlKind kind = control.Kind();
    if (keyword == "default")
        return kind != ControlKind::ActionButton;
    if (keyword == "choices" || keyword == "choices-from")
        return kind == ControlKind::Field && !IsDriveField(control);
    if (keyword == "pattern")
        return (kind == ControlKind::Field && !IsDriveField(control)) || kind == ControlKind::TypedRadio;
    return true;  // help
}

int& LineOf(ControlAttributes& attributes, const std::string& keyword)
{
    if (keyword == "default")
        return attributes.defaultLine;
    if (keyword == "pattern")
        return attributes.patternLine;
    if (keyword == "help")
        return attributes.helpLine;
    return attributes.choicesLine;
}

}  // namespace

bool CFormModel::ParseAttributeLine(const std::string& line, int lineNumber, LineReader* reader)
{
    // Only a well-formed tag naming an attribute: anything else is left to
    // the control-line grammar (and its reports).
    if (line.size() < 4 || line.compare(0, 2, "{{") != 0)
        return false;
    const size_t close = line.find("}}", 2);
    if (close == std::string::npos)
        return false;
    std::string keyword, argument;
    SplitKeyword(line.substr(2, close - 2), keyword, argument);
    if (!IsAttributeKeyword(keyword))
        return false;
    std::string value = line.substr(close + 2);
    TrimBlank(value);

    if (m_pAttributeTarget == nullptr) {
        ReportError(lineNumber, "{{" + keyword + "}} belongs under a control line, and there is none above it", reader);
        return true;
    }
    CControlDef& control = *m_pAttributeTarget;
    if (!Suits(keyword, control)) {
        ReportError(lineNumber, "{{" + keyword + "}} does not apply to " + KindName(control), reader);
        return true;
    }
    int& seenOn = LineOf(control.m_attributes, keyword);
    if (seenOn != 0) {
        const std::string what = (keyword == "choices" || keyword == "choices-from") ? "list of choices"
                                                                                      : "{{" + keyword + "}}";
        ReportError(lineNumber, "Second " + what + " for the control of line " + std::to_string(m_nAttributeTargetLine) +
                                    " (the first is on line " + std::to_string(seenOn) + ")",
                    reader);
        return true;
    }
    if (ApplyAttribute(control, keyword, argument, value, lineNumber, reader)) {
        seenOn = lineNumber;
        Diag("  -> Attribute %s: %s\n", keyword.c_str(), value.c_str());
        CheckDefaultAmongChoices(control, lineNumber, reader);
    }
    return true;
}

bool CFormModel::ApplyAttribute(CControlDef& control, const std::string& keyword, const std::string& argument,
                                const std::string& value, int lineNumber, LineReader* reader)
{
    ControlAttributes& attributes = control.m_attributes;
    if (keyword == "default")
        return ApplyDefault(control, value, lineNumber, reader);
    if (keyword == "choices" || keyword == "choices-from")
        return ApplyChoices(control, keyword, value, lineNumber, reader);
    if (keyword == "pattern") {
        if (value.empty()) {
            ReportError(lineNumber, "{{pattern}} needs a regular expression after the tag", reader);
            return false;
        }
        const std::string why = PatternError(value);
        if (!why.empty()) {
            ReportError(lineNumber, "Invalid pattern '" + value + "': " + why, reader);
            return false;
        }
        attributes.pattern = value;
        attributes.patternMessage = argument;
        return true;
    }
    attributes.help = value;
    return true;
}

bool CFormModel::ApplyDefault(CControlDef& control, const std::string& value, int lineNumber, LineReader* reader)
{
    std::string accepted = value;
    const ControlKind kind = control.Kind();
    if (kind == ControlKind::Checkbox || kind == ControlKind::Radio || kind == ControlKind::TypedRadio) {
        if (value != "on" && value != "off") {
            ReportError(lineNumber, std::string("{{default}} of ") + KindName(control) + " is on or off", reader);
            return false;
        }
        if (value == "on" && control.m_nRadioGroup >= 0) {
            // The members of the group are the latest definitions.
            for (auto it = m_controls.rbegin(); it != m_controls.rend() && (*it)->m_nRadioGroup == control.m_nRadioGroup;
                 ++it) {
                if (it->get() != &control && (*it)->m_attributes.IsDefaultOn()) {
                    ReportError(lineNumber,
                                "Radio group already starts with another choice (default on line " +
                                    std::to_string((*it)->m_attributes.defaultLine) + ")",
                                reader);
                    return false;
                }
            }
        }
    } else if (IsDriveField(control) && !NormaliseDriveLetter(value, accepted)) {
        ReportError(lineNumber, "{{default}} of a drive field is a drive letter (e.g. C:)", reader);
        return false;
    }
    control.m_attributes.defaultValue = accepted;
    return true;
}

bool CFormModel::ApplyChoices(CControlDef& control, const std::string& keyword, const std::string& value,
                              int lineNumber, LineReader* reader)
{
    ControlAttributes& attributes = control.m_attributes;
    if (keyword == "choices") {
        std::vector<std::string> items = SplitChoices(value);
        if (items.empty()) {
            ReportError(lineNumber, "{{choices}} lists no items (separate them with |)", reader);
            return false;
        }
        attributes.choices = std::move(items);
        return true;
    }
    if (value.empty()) {
        ReportError(lineNumber, "{{choices-from}} names no command", reader);
        return false;
    }
    if (m_pChoicesRunner == nullptr) {
        attributes.choicesCommand = value;
        return true;  // not run here: the choices stay unknown
    }
    std::string output, failure;
    if (!m_pChoicesRunner->Run(value, output, failure)) {
        ReportError(lineNumber, failure, reader);
        return false;
    }
    std::vector<std::string> items = ChoiceLines(output);
    if (items.empty()) {
        ReportError(lineNumber, "{{choices-from}} command printed no choices", reader);
        return false;
    }
    attributes.choices = std::move(items);
    attributes.choicesCommand = value;
    Diag("  -> %d choices from the command\n", static_cast<int>(attributes.choices.size()));
    return true;
}

void CFormModel::CheckDefaultAmongChoices(const CControlDef& control, int lineNumber, LineReader* reader)
{
    const ControlAttributes& attributes = control.m_attributes;
    if (attributes.defaultLine == 0 || attributes.choices.empty() || attributes.defaultValue.empty())
        return;
    if (std::find(attributes.choices.begin(), attributes.choices.end(), attributes.defaultValue) ==
        attributes.choices.end())
        ReportError(lineNumber, "Default '" + attributes.defaultValue + "' is not among the choices", reader);
}

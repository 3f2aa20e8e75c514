// The check of the whole form before a run: every problem is gathered into
// one warning box in which the user may still choose to run.

#include <set>
#include <string>

#include "common/Diag.h"
#include "formdef/ValuePattern.h"
#include "formui/TavrelDlg.h"

namespace {

const char kRequiredGroupMessage[] = "At least one option must be selected from the required group";

void AppendMessage(std::string& collected, const std::string& message)
{
    if (!collected.empty())
        collected += "\n\n";
    collected += message;
}

// A non-empty value that its {{pattern}} line refuses, with the message that
// says what is wanted; empty when the value passes.
std::string PatternRefusal(const FormControl& control, const std::string& value)
{
    const ControlAttributes& attributes = control.Def().m_attributes;
    if (attributes.patternLine == 0 || value.empty())
        return std::string();
    const PatternCheck check = CheckPattern(attributes.pattern, value);
    if (check == PatternCheck::Matches)
        return std::string();
    if (check == PatternCheck::TooLong)
        Diag("WARNING: Value of control %d is too long to check against its pattern\n", control.Def().m_nIndex);
    if (!attributes.patternMessage.empty())
        return attributes.patternMessage;
    return "Value does not have the expected form: " + control.Def().m_strLabel;
}

void FocusInput(const FormControl& control)
{
    for (const std::unique_ptr<CWnd>* input : { &control.m_pEdit, &control.m_pCombo }) {
        if (*input && (*input)->IsWindow()) {
            (*input)->SetFocus();
            return;
        }
    }
}

}  // namespace

int CTavrelDlg::ConfirmOverwrite(const std::string& path)
{
    std::string text = "Warning: Path already exists and may be overwritten:\n" + path + "\n\nContinue anyway?";
    return MessageBox(text, "File Exists", MB_YESNO | MB_ICONEXCLAMATION);
}

bool CTavrelDlg::ValidateInputs()
{
    Diag("\n=== ValidateInputs ===\n");
    std::string collected;
    std::set<int> answeredGroups;
    std::set<int> requiredGroups;
    const FormControl* firstRefused = nullptr;  // by its pattern

    const FormControl::OverwriteQuestion askOverwrite = [this](const std::string& path) {
        return ConfirmOverwrite(path);
    };
    for (size_t i = 0; i < m_formControls.size(); ++i) {
        const FormControl& control = m_formControls[i];
        const CControlDef& def = control.Def();
        int position = static_cast<int>(i);

        const std::string refusal = PatternRefusal(control, control.GetValue());
        if (!refusal.empty()) {
            Diag("Validation failed for control %d: %s\n", position, refusal.c_str());
            AppendMessage(collected, refusal);
            if (firstRefused == nullptr)
                firstRefused = &control;
        }

        if (def.m_bRequired && def.m_nRadioGroup >= 0) {
            // Only the group's having a selection counts here, not the
            // selected radio's text.
            requiredGroups.insert(def.m_nRadioGroup);
            std::string value = control.GetValue();
            if (!value.empty()) {
                answeredGroups.insert(def.m_nRadioGroup);
                Diag("  Radio group %d has value: %s\n", def.m_nRadioGroup, value.c_str());
            }
            continue;
        }

        // An optional field left empty is not checked at all.
        if (!def.m_bRequired && control.GetValue().empty())
            continue;

        std::string message;
        FormControl::ValidationResult result = control.Validate(askOverwrite, message);
        if (result == FormControl::kOverwriteRefused)
            return false;  // no summary: the user has already said no
        if (result == FormControl::kInvalid) {
            if (def.m_bRequired)
                Diag("Validation failed for required field %d: %s\n", position, message.c_str());
            else
                Diag("Validation failed for control %d: %s\n", position, message.c_str());
            AppendMessage(collected, message);
        }
    }

    // Every required group must be answered; one message covers them all.
    for (int group : requiredGroups) {
        if (answeredGroups.count(group) == 0) {
            AppendMessage(collected, kRequiredGroupMessage);
            break;
        }
    }

    if (!collected.empty()) {
        int answer = MessageBox(collected + "\n\nRun anyway?", "Validation Warning", MB_YESNO | MB_ICONEXCLAMATION);
        if (answer != IDYES) {
            Diag("Validation failed - user chose not to continue\n");
            // Where to type it again.
            if (firstRefused != nullptr) {
                FocusInput(*firstRefused);
                ScrollIntoView(::GetFocus());
            }
            return false;
        }
        Diag("Validation warnings present but user chose to continue\n");
    }
    Diag("All validations passed\n");
    return true;
}

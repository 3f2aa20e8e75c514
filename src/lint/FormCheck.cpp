#include "lint/FormCheck.h"

#include <algorithm>
#include <map>

#include <sys/stat.h>

#include "formdef/BatchFormFile.h"
#include "formdef/FormKeywords.h"
#include "formdef/ParseErrorPresenter.h"

const std::vector<WarningKind>& WarningKinds()
{
    static const std::vector<WarningKind> kinds = {
        { "first-line-blank", "the first line, the command, is blank" },
        { "description-has-tag", "line 2, the description, holds a tag (it is never read for tags)" },
        { "radio-unclosed", "a radio group is not closed by {{radioend}}" },
        { "radioend-unopened", "a {{radioend}} with no open radio group" },
        { "radio-empty", "a radio group without members" },
        { "radio-single", "a radio group with a single member" },
        { "flag-duplicate", "the same flag on two controls" },
        { "flag-glued-tag", "an unquoted flag that swallowed a tag (-o{{file}})" },
        { "label-empty", "a field, checkbox or radio button without a label" },
        { "button-no-flag", "a {{button}} without a flag" },
        { "type-unknown", "a type that is none of the nine type words" },
        { "batch-cmd-empty", "a {{batch cmd}} script that is empty" },
    };
    return kinds;
}

bool CheckedForm::HasErrors() const
{
    return outcome == Outcome::Unreadable ||
           std::any_of(findings.begin(), findings.end(),
                       [](const Finding& f) { return f.severity == Severity::Error; });
}

namespace {

bool IsFolder(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && (info.st_mode & S_IFMT) == S_IFDIR;
}

// Collects the parser's errors instead of showing them.
class ErrorCollector : public ParseErrorPresenter {
public:
    explicit ErrorCollector(std::vector<Finding>& findings) : m_findings(findings)
    {
        m_previous = GetParseErrorPresenter();
        SetParseErrorPresenter(this);
    }
    ~ErrorCollector() override { SetParseErrorPresenter(m_previous); }
    void RecordError(int line, const std::string& message) override
    {
        m_findings.push_back({ line, Severity::Error, "", message });
    }
    void ShowReport(const std::string&, const std::string&) override {}
    void RequestQuit() override {}
    void ShowOpenFailure(const std::string& message) override
    {
        m_findings.push_back({ 0, Severity::Error, "", message });
        openFailed = true;
    }
    bool openFailed = false;

private:
    std::vector<Finding>& m_findings;
    ParseErrorPresenter* m_previous = nullptr;
};

// An unquoted flag that runs into a whole tag: "-o{{file}}". A flag that
// is only the start of a tag has already been reported as an error.
bool SwallowedTag(const std::string& flag, const std::string& lineText)
{
    const size_t open = flag.find("{{");
    if (open == std::string::npos || open == 0 || flag.find("}}", open) == std::string::npos)
        return false;
    return lineText.find('"' + flag + '"') == std::string::npos &&
           lineText.find('\'' + flag + '\'') == std::string::npos;
}

// Follows the parse line by line for what only the lines tell: where radio
// groups open and close and where each control stands.
class LineWatcher : public FormParseListener {
public:
    LineWatcher(CheckedForm& form) : m_form(form) {}

    void OnRadioStart(int line) override
    {
        if (m_groupOpen)
            EndGroup(true);
        m_groupOpen = true;
        m_groupLine = line;
        m_members = 0;
    }
    void OnRadioEnd(int line, bool groupWasOpen) override
    {
        if (groupWasOpen && m_groupOpen)
            EndGroup(false);
        else
            Warn(line, "radioend-unopened", "{{radioend}} closes no radio group");
        m_groupOpen = false;
    }
    void OnControl(const CControlDef& control, int line, const std::string& text) override
    {
        m_form.controlLines.push_back(line);
        m_texts.push_back(text);
        if (control.m_nRadioGroup >= 0)
            ++m_members;
    }
    void OnBatchCmd(int line) override { m_batchCmdLine = line; }

    // After a parse that read the whole form.
    void Finish()
    {
        if (m_groupOpen)
            EndGroup(true);
        m_groupOpen = false;
        CheckControls();
        const CFormModel& model = m_form.model;
        if (model.m_strCommand.empty())
            Warn(1, "first-line-blank", "the first line, the command to run, is blank");
        if (model.m_strDescription.find("{{") != std::string::npos)
            Warn(2, "description-has-tag",
                 "line 2 is the description and is never read for tags; is a description line missing?");
        if (model.m_bBatchCmd) {
            std::string script = model.m_strBatchScript;
            CFormModel::TrimBlank(script);
            if (script.empty())
                Warn(m_batchCmdLine, "batch-cmd-empty", "the {{batch cmd}} script is empty: Run does nothing");
        }
    }

private:
    void Warn(int line, const char* name, const std::string& message)
    {
        m_form.findings.push_back({ line, Severity::Warning, name, message });
    }

    void EndGroup(bool unclosed)
    {
        if (unclosed)
            Warn(m_groupLine, "radio-unclosed",
                 "radio group is not closed by {{radioend}}: every flagged line after it joins it");
        if (m_members == 0)
            Warn(m_groupLine, "radio-empty", "radio group has no members");
        else if (m_members == 1)
            Warn(m_groupLine, "radio-single", "radio group has a single member: it can never be unselected");
    }

    void CheckControls()
    {
        const CFormModel& model = m_form.model;
        std::map<std::string, int> firstLineOfFlag;
        for (size_t i = 0; i < model.m_controls.size() && i < m_form.controlLines.size(); ++i) {
            const CControlDef& control = *model.m_controls[i];
            const int line = m_form.controlLines[i];
            const std::string& flag = control.m_strFlag;
            if (!flag.empty()) {
                auto [first, inserted] = firstLineOfFlag.emplace(flag, line);
                if (!inserted)
                    Warn(line, "flag-duplicate",
                         "flag '" + flag + "' also stands on line " + std::to_string(first->second));
            }
            if (SwallowedTag(flag, m_texts[i]))
                Warn(line, "flag-glued-tag",
                     "flag '" + flag + "' swallowed a tag: put a blank between the flag and the tag");
            const ControlKind kind = control.Kind();
            if (control.m_strLabel.empty() &&
                (kind == ControlKind::Field || kind == ControlKind::Checkbox || kind == ControlKind::Radio))
                Warn(line, "label-empty", "control has an empty label");
            if (kind == ControlKind::ActionButton && flag.empty())
                Warn(line, "button-no-flag", "{{button}} without a flag adds nothing to the command line");
            if (!control.m_strType.empty() && !IsTypeKeyword(control.m_strType))
                Warn(line, "type-unknown",
                     "type '" + control.m_strType + "' is none of the type words; the control is a plain text field");
        }
    }

    CheckedForm& m_form;
    std::vector<std::string> m_texts;
    bool m_groupOpen = false;
    int m_groupLine = 0;
    int m_members = 0;
    int m_batchCmdLine = 0;
};

}  // namespace

std::unique_ptr<CheckedForm> CheckFormFile(const std::string& path, const BatchFormRunner* runBatch,
                                           const std::vector<std::string>& disabled)
{
    auto form = std::make_unique<CheckedForm>();
    ErrorCollector errors(form->findings);
    LineWatcher watcher(*form);
    form->model.m_pListener = &watcher;

    std::string script;
    const BatchFormKind kind = ReadBatchForm(path, script);
    bool parsed = false;
    if (kind == BatchFormKind::CannotOpen) {
        errors.ShowOpenFailure("Failed to open file: " + path + (IsFolder(path) ? ": it is a folder" : ""));
        form->outcome = CheckedForm::Outcome::Unreadable;
    } else if (kind == BatchFormKind::BatchForm && runBatch == nullptr) {
        form->outcome = CheckedForm::Outcome::Generated;
        if (script.empty())
            errors.RecordError(0, "{{batch gui}} file contains no script");
        else
            form->findings.push_back({ 1, Severity::Note, "",
                                       "the form is generated by its {{batch gui}} script, which was not run; "
                                       "only its presence was checked" });
    } else {
        parsed = kind == BatchFormKind::BatchForm ? (*runBatch)(form->model, path) : form->model.ParseFile(path);
        form->outcome = parsed ? CheckedForm::Outcome::Parsed : CheckedForm::Outcome::Stopped;
        if (errors.openFailed)
            form->outcome = CheckedForm::Outcome::Unreadable;
    }
    if (parsed)
        watcher.Finish();
    form->model.m_pListener = nullptr;

    auto& findings = form->findings;
    findings.erase(std::remove_if(findings.begin(), findings.end(),
                                  [&](const Finding& f) {
                                      return !f.name.empty() &&
                                             std::find(disabled.begin(), disabled.end(), f.name) != disabled.end();
                                  }),
                   findings.end());
    std::stable_sort(findings.begin(), findings.end(),
                     [](const Finding& a, const Finding& b) { return a.line < b.line; });
    return form;
}

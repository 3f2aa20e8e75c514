// tavrel-lint: checks form definition files with Tavrel's own parser and
// command builder, for form authors' editors and builds.

#include <cstdio>
#include <string>
#include <vector>

#include "common/Diag.h"
#include "formui/ControlIds.h"
#include "lint/CommandValues.h"
#include "lint/FormCheck.h"
#include "lint/LintOptions.h"
#include "lint/ModelJson.h"

#if defined(_WIN32)
#include "framework/SystemLibrary.h"
#include "lint/BatchFormRun.h"
#endif

#if defined(_WIN32)
// Windows shells hand wildcards over unexpanded: the C runtime expands
// them (tavrel-lint forms\*.gui), as Linux shells do.
extern "C" {
int _dowildcard = -1;
}
#endif

namespace {

constexpr int kExitClean = 0;
constexpr int kExitWarnings = 1;
constexpr int kExitErrors = 2;

const char* SeverityName(Severity severity)
{
    switch (severity) {
    case Severity::Error: return "error";
    case Severity::Warning: return "warning";
    case Severity::Note: return "note";
    }
    return "";
}

void PrintFinding(FILE* out, const std::string& file, const Finding& finding)
{
    std::string where = finding.line > 0 ? file + ":" + std::to_string(finding.line) : file;
    std::string name = finding.name.empty() ? "" : " [" + finding.name + "]";
    fprintf(out, "%s: %s: %s%s\n", where.c_str(), SeverityName(finding.severity), finding.message.c_str(),
            name.c_str());
}

std::string Counted(int count, const char* what)
{
    return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

}  // namespace

int main(int argc, char** argv)
{
#if defined(_WIN32)
    RestrictLibrarySearch();
#endif
    // The parser traces every step; the checker shows only its findings.
    SetDiagSink([](const std::string&) {});

    LintOptions options;
    std::string error;
    if (!ParseLintOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        fprintf(stderr, "tavrel-lint: %s\n\n%s", error.c_str(), kLintUsage);
        return kExitErrors;
    }
    if (options.help) {
        fputs(kLintUsage, stdout);
        return kExitClean;
    }
    if (options.listWarnings) {
        for (const WarningKind& kind : WarningKinds())
            printf("%-20s %s\n", kind.name, kind.summary);
        return kExitClean;
    }

    BatchFormRunner batchRunner;
#if defined(_WIN32)
    if (options.runBatch)
        batchRunner = RunBatchFormAsTavrel;
#endif
    // Findings go to standard error when standard output carries JSON or a
    // command line.
    FILE* findingsOut = (options.model || options.command) ? stderr : stdout;
    int errors = 0;
    int warnings = 0;
    int unreadable = 0;
    for (const std::string& file : options.files) {
        auto form = CheckFormFile(file, batchRunner ? &batchRunner : nullptr, options.disabled);
        for (const Finding& finding : form->findings) {
            PrintFinding(findingsOut, file, finding);
            errors += finding.severity == Severity::Error;
            warnings += finding.severity == Severity::Warning;
        }
        unreadable += form->outcome == CheckedForm::Outcome::Unreadable;
        if (options.model && form->outcome != CheckedForm::Outcome::Unreadable) {
            nlohmann::ordered_json json = FormModelJson(form->model, AssignControlIds(form->model), form->controlLines);
            json["generated"] = form->outcome == CheckedForm::Outcome::Generated;
            printf("%s\n", JsonText(json).c_str());
        }
        if (options.command && !form->HasErrors() && form->outcome == CheckedForm::Outcome::Parsed) {
            BuiltCommand built = BuildCommandFor(form->model, options.assignments);
            if (!built.ok) {
                fprintf(stderr, "tavrel-lint: %s\n", built.text.c_str());
                return kExitErrors;
            }
            printf("%s\n", (options.expand ? ExpandEnvironmentReferences(built.text) : built.text).c_str());
        } else if (options.command) {
            fprintf(stderr, "tavrel-lint: no command line: Tavrel would not open this form\n");
        }
    }
    fflush(stdout);
    fprintf(stderr, "tavrel-lint: %s checked: %s, %s\n", Counted(static_cast<int>(options.files.size()), "file").c_str(),
            Counted(errors, "error").c_str(), Counted(warnings, "warning").c_str());
    if (errors > 0 || unreadable > 0)
        return kExitErrors;
    if (warnings > 0 && !options.warningsOk)
        return kExitWarnings;
    return kExitClean;
}

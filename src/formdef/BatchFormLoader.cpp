// The loader the form dialog calls for every form definition file: a file
// whose first line starts with {{batch gui}} is a script whose output is the
// form; every other file goes straight to the parser.

#include <string>

#include "common/Diag.h"
#include "formdef/BatchChoicesRunner.h"
#include "formdef/BatchFormFile.h"
#include "formdef/BatchProgressWindow.h"
#include "formdef/BatchScriptRun.h"
#include "formdef/FormModel.h"
#include "formdef/FormTextDecoding.h"
#include "formdef/LineReader.h"
#include "framework/WinApp.h"

namespace {
const char kRule[] = "========================================\n";

// {{choices-from}} commands run while the form loads, unless the caller
// installed a runner of its own.
class ChoicesRunnerForLoad {
public:
    ChoicesRunnerForLoad(CFormModel& form, const std::string& path) : m_form(form), m_runner(path)
    {
        if (m_form.m_pChoicesRunner == nullptr) {
            m_form.m_pChoicesRunner = &m_runner;
            m_installed = true;
        }
    }
    ~ChoicesRunnerForLoad()
    {
        if (m_installed)
            m_form.m_pChoicesRunner = nullptr;
    }

private:
    CFormModel& m_form;
    BatchChoicesRunner m_runner;
    bool m_installed = false;
};
}  // namespace

bool CFormModel::ParseFileWithBatchSupport(const std::string& path, BatchScriptWatch* watch)
{
    Diag("\n%s", kRule);
    Diag("ParseFileWithBatchSupport: %s\n", path.c_str());
    Diag("%s", kRule);

    ChoicesRunnerForLoad choices(*this, path);
    std::string script;
    switch (ReadBatchForm(path, script)) {
    case BatchFormKind::CannotOpen: {
        std::string message = "Failed to open file: " + path;
        Diag("##ERROR##\t%s\n", message.c_str());
        AfxMessageBox(message, MB_OK);
        return false;
    }
    case BatchFormKind::OrdinaryForm:
        return ParseFile(path);
    case BatchFormKind::BatchForm:
        break;
    }

    Diag("{{batch gui}} tag detected - executing batch script\n");
    if (script.empty()) {
        ReportError(0, "{{batch gui}} file contains no script", nullptr);
        return false;
    }
    Diag("Batch script length: %d bytes\n", static_cast<int>(script.size()));

    BatchScriptResult run;
    {
        // Gone again before any report is shown.
        BatchProgressWindow progress(path);
        run = RunBatchScript(script, watch != nullptr ? watch : &progress);
    }
    switch (run.status) {
    case BatchScriptResult::Status::TempFileFailed:
        ReportError(0, "Failed to create temporary batch file", nullptr);
        return false;
    case BatchScriptResult::Status::StartFailed:
        ReportError(0, "Failed to execute batch script", nullptr);
        return false;
    case BatchScriptResult::Status::Cancelled:
        ReportError(0, "Batch script cancelled", nullptr);
        return false;
    case BatchScriptResult::Status::Ran:
        break;
    }

    if (run.output.empty()) {
        ReportError(0, "Batch script produced no output", nullptr);
        return false;
    }
    Diag("\nBatch output (%d bytes):\n", static_cast<int>(run.output.size()));
    Diag("%s", kRule);

    // Cleared as ParseFile does, so that a reused model never mixes two
    // forms. Error reports number the lines of the output, not of the file.
    // The output is decoded as a form file is.
    Clear();
    LineReader reader(DecodeFormText(run.output));
    bool parsed = ParseLines(reader);

    Diag("%s", kRule);
    Diag("Batch parsing complete: %s\n", parsed ? "SUCCESS" : "FAILED");
    Diag("%s\n", kRule);
    return parsed;
}

#include "formdef/BatchChoicesRunner.h"

#include "common/Diag.h"
#include "formdef/BatchProgressWindow.h"
#include "formdef/BatchScriptRun.h"
#include "formdef/FormTextDecoding.h"

bool BatchChoicesRunner::Run(const std::string& command, std::string& output, std::string& failure)
{
    Diag("{{choices-from}} command: %s\n", command.c_str());
    BatchScriptResult run;
    {
        // Gone again before any report is shown.
        BatchProgressWindow progress(m_formPath);
        // The command is one line of a batch script; the script itself
        // must not echo its lines into the choices.
        run = RunBatchScript("@echo off\r\n" + command + "\r\n", &progress);
    }
    switch (run.status) {
    case BatchScriptResult::Status::TempFileFailed:
        failure = "{{choices-from}} command could not be run: no temporary batch file";
        return false;
    case BatchScriptResult::Status::StartFailed:
        failure = "{{choices-from}} command could not be started";
        return false;
    case BatchScriptResult::Status::Cancelled:
        failure = "{{choices-from}} command cancelled";
        return false;
    case BatchScriptResult::Status::Ran:
        break;
    }
    output = DecodeFormText(run.output);
    if (run.exitCode != 0) {
        failure = "{{choices-from}} command failed with exit code " + std::to_string(static_cast<int>(run.exitCode));
        if (!output.empty())
            failure += ":\r\n" + output;
        return false;
    }
    return true;
}

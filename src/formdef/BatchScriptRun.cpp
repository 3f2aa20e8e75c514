#include "formdef/BatchScriptRun.h"

#include <cstdio>

#include "common/Diag.h"
#include "exec/BatchScriptFile.h"
#include "exec/ProcessRunner.h"
#include "exec/StartErrorBox.h"
#include "exec/UniqueTempFile.h"

namespace {

constexpr DWORD kPollIntervalMs = 10;

void TakeChunk(const std::string& chunk, std::string& output)
{
    if (chunk.empty())
        return;
    output += chunk;
    Diag("%s", chunk.c_str());
}

// While the script runs: read what is waiting, then sleep.
void PollUntilEnded(ProcessRunner& runner, std::string& output)
{
    std::string chunk;
    while (runner.IsRunning()) {
        if (runner.ReadOutput(chunk))
            TakeChunk(chunk, output);
        Sleep(kPollIntervalMs);
    }
}

// After the script has ended: read until the pipe reports its end. A
// process left running by the script keeps the pipe open, so an empty pipe
// is waited on (with a sleep, never a busy loop) only for a bounded time.
void DrainAfterEnd(ProcessRunner& runner, std::string& output)
{
    std::string chunk;
    DWORD quietSince = GetTickCount();
    while (runner.ReadOutput(chunk)) {
        if (!chunk.empty()) {
            TakeChunk(chunk, output);
            quietSince = GetTickCount();
            continue;
        }
        if (GetTickCount() - quietSince >= kBatchDrainQuietMs) {
            Diag("WARNING: Batch script output still open after the script ended - not waiting for it\n");
            return;
        }
        Sleep(kPollIntervalMs);
    }
}

}  // namespace

BatchScriptResult RunBatchScript(const std::string& script)
{
    BatchScriptResult result;

    // Created exclusively: two programs loading batch forms in the same
    // millisecond must not share (and overwrite, and delete) one file.
    bool created = CreateUniqueTempFile("tavrel-batch-%08x.bat", result.tempPath);
    Diag("Creating temp batch file: %s\n", result.tempPath.c_str());
    if (!created)
        return result;
    if (!WriteBatchScriptFile(result.tempPath, script)) {
        DeleteFileA(result.tempPath.c_str());
        return result;
    }
    Diag("Temp batch file written\n");

    std::string commandLine = "cmd /c \"" + result.tempPath + "\"";
    Diag("Executing: %s\n", commandLine.c_str());
    Diag("----------------------------------------\n");

    ProcessRunner runner;
    if (!StartReportingFailure(runner, commandLine)) {
        DeleteFileA(result.tempPath.c_str());
        result.status = BatchScriptResult::Status::StartFailed;
        return result;
    }
    // No window is shown while the script runs, so nobody could answer a
    // script that waits for a key: it reads end-of-input instead.
    runner.CloseInput();

    PollUntilEnded(runner, result.output);
    DrainAfterEnd(runner, result.output);
    runner.CloseHandles();

    Diag("----------------------------------------\n");
    result.exitCode = runner.GetExitCode();
    Diag("Batch script exit code: %d\n", static_cast<int>(result.exitCode));
    if (result.exitCode != 0)
        Diag("Warning: Batch script returned non-zero exit code\n");

    DeleteFileA(result.tempPath.c_str());
    Diag("Temp batch file deleted\n");
    result.status = BatchScriptResult::Status::Ran;
    return result;
}

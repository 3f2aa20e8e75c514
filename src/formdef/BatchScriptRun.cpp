#include "formdef/BatchScriptRun.h"

#include "common/Diag.h"
#include "exec/BatchScriptFile.h"
#include "exec/ProcessRunner.h"
#include "exec/StartErrorBox.h"
#include "exec/UniqueTempFile.h"

namespace {

// The longest wait for output before the watch is asked again.
constexpr DWORD kPollIntervalMs = 10;
// One read takes everything that has arrived (the runner's reader thread
// keeps the pipe empty, so the script never waits for us).
constexpr size_t kReadAll = static_cast<size_t>(-1);

// False once the output has ended; `took` tells whether anything came.
bool TakeWaiting(ProcessRunner& runner, std::string& output, bool& took)
{
    std::string chunk;
    const bool open = runner.ReadOutput(chunk, kReadAll);
    took = !chunk.empty();
    if (took) {
        output += chunk;
        Diag("%s", chunk.c_str());
    }
    return open;
}

// Asks the watch, if any, whether to go on.
class WatchedRun {
public:
    explicit WatchedRun(BatchScriptWatch* watch) : m_watch(watch), m_started(GetTickCount()) {}
    bool KeepRunning(const std::string& output) const
    {
        return !m_watch || m_watch->KeepRunning(GetTickCount() - m_started, output.size());
    }

private:
    BatchScriptWatch* m_watch;
    DWORD m_started;
};

// While the script runs: take what has arrived, then wait for more. False
// when the watch stopped it.
bool PollUntilEnded(ProcessRunner& runner, std::string& output, const WatchedRun& watch)
{
    bool took = false;
    while (runner.IsRunning()) {
        const bool open = TakeWaiting(runner, output, took);
        if (!watch.KeepRunning(output))
            return false;
        // A script that closed its output has nothing to wait for.
        if (!open || !runner.WaitForOutput(kPollIntervalMs))
            Sleep(open ? 0 : kPollIntervalMs);
    }
    return true;
}

// After the script has ended: read until the pipe reports its end. A
// process left running by the script keeps the pipe open, so an empty pipe
// is waited on (a bounded wait, never a busy loop) only for a bounded time.
// False when the watch stopped it.
bool DrainAfterEnd(ProcessRunner& runner, std::string& output, const WatchedRun& watch)
{
    bool took = false;
    DWORD quietSince = GetTickCount();
    while (TakeWaiting(runner, output, took)) {
        if (took) {
            quietSince = GetTickCount();
        } else if (GetTickCount() - quietSince >= kBatchDrainQuietMs) {
            Diag("WARNING: Batch script output still open after the script ended - not waiting for it\n");
            return true;
        }
        if (!watch.KeepRunning(output))
            return false;
        if (!took)
            runner.WaitForOutput(kPollIntervalMs);
    }
    return true;
}

}  // namespace

BatchScriptResult RunBatchScript(const std::string& script, BatchScriptWatch* watch)
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
    // Nothing the script runs may outlive the program, killed or not,
    // while the form waits for it.
    runner.SetEndTreeOnClose(true);
    if (!StartReportingFailure(runner, commandLine)) {
        DeleteFileA(result.tempPath.c_str());
        result.status = BatchScriptResult::Status::StartFailed;
        return result;
    }
    // Nobody could answer a script that waits for a key: it reads
    // end-of-input instead.
    runner.CloseInput();

    WatchedRun watched(watch);
    if (!PollUntilEnded(runner, result.output, watched) || !DrainAfterEnd(runner, result.output, watched)) {
        runner.Terminate();
        runner.CloseHandles();
        Diag("----------------------------------------\n");
        DeleteFileA(result.tempPath.c_str());
        Diag("Temp batch file deleted\n");
        result.status = BatchScriptResult::Status::Cancelled;
        return result;
    }
    // The script has ended; a process it left running in the background
    // is its own business, as before.
    runner.SetEndTreeOnClose(false);
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

#pragma once
// Runs one command line as a hidden child process. Standard output and
// standard error share one pipe, standard input comes from a second one.
// Start returns at once; the owner then polls: IsRunning, ReadOutput,
// WriteInput/FlushInput, Terminate. Nothing here blocks on the child except
// the bounded wait in Terminate.

#include <windows.h>

#include <string>

#include "framework/Handles.h"

class ProcessRunner {
public:
    ProcessRunner() = default;
    // Closes the handles but leaves a running child alone (unless
    // SetEndTreeOnClose asked otherwise).
    virtual ~ProcessRunner();

    ProcessRunner(const ProcessRunner&) = delete;
    ProcessRunner& operator=(const ProcessRunner&) = delete;

    // Starts the child without waiting for it. A previous run's handles are
    // released first (its child keeps running). False when no child was
    // created; the reason is in LastErrorText(). Nothing is shown to the
    // user here: StartReportingFailure (StartErrorBox.h) does that.
    bool Start(const std::string& commandLine);

    // True when the last Start got as far as creating the child and failed
    // there: LastErrorText() is then the text the user is to see. False
    // after a successful start and when the output pipe could not be made.
    bool ChildCreationFailed() const { return childCreationFailed; }

    // True while the child has not ended; stores the exit code once it has.
    bool IsRunning();

    // Hands back at most 4095 bytes of waiting output, exactly as the child
    // wrote them (embedded NUL bytes included). Returns true with an empty
    // string when nothing is waiting, false once the pipe has ended.
    bool ReadOutput(std::string& out);

    // Writes NUL-terminated text to the child's standard input without
    // waiting: what the pipe cannot take yet is kept, in order, for
    // FlushInput. False for empty text, without an input pipe, or once the
    // child no longer reads (everything kept is dropped then).
    bool WriteInput(const char* text);

    // Passes on as much kept input as the pipe takes now; the owner calls it
    // on every poll. False as WriteInput.
    bool FlushInput();
    bool HasPendingInput() const { return !pendingInput.empty(); }

    // Closes our end of the child's standard input: the child then reads
    // end-of-input instead of waiting for keys nobody will type. Input not
    // yet passed on is dropped.
    void CloseInput();

    // Ends the child and everything it started, with exit code 1.
    void Terminate();
    // True when Terminate ended the last child started while it still ran.
    bool WasTerminated() const { return terminated; }

    // While on, the child and everything it started end when the runner
    // closes its handles, and with this program however it ends (killed
    // included). Off by default: a child outlives its runner. May be set
    // before Start or switched while the child runs.
    void SetEndTreeOnClose(bool on);

    void CloseHandles();

    static std::string DescribeError(DWORD code);

    DWORD GetExitCode() const { return exitCode; }
    const std::string& LastErrorText() const { return lastError; }
    HANDLE ProcessHandle() const { return process.Get(); }
    // The job holding the child and all it started; null when the system
    // gave none.
    HANDLE JobHandle() const { return job.Get(); }
    bool HasInputPipe() const { return stdinWrite.Valid(); }
    bool HasOpenHandles() const;

private:
    bool FailStart(const std::string& reason);
    void PutIntoJob(const PROCESS_INFORMATION& info);
    void ApplyJobLimits();

    std::string lastError;
    bool childCreationFailed = false;
    bool terminated = false;
    DWORD exitCode = 0;
    UniqueKernelHandle stdoutRead;
    UniqueKernelHandle stdoutWrite;
    UniqueKernelHandle stdinRead;
    UniqueKernelHandle stdinWrite;
    std::string pendingInput;
    UniqueKernelHandle process;
    // Groups the child with everything it starts so that Terminate can end
    // the whole tree. Empty when the system refused a job for this child.
    UniqueKernelHandle job;
    bool endTreeOnClose = false;
};

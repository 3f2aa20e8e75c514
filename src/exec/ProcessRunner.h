#pragma once
// Runs one command line as a hidden child process. Standard output and
// standard error share one pipe, standard input comes from a second one.
// Start returns at once; the owner then polls: IsRunning, ReadOutput,
// WriteInput/FlushInput, Terminate. Nothing the owner calls blocks on the
// child except the bounded waits in Terminate and WaitForOutput.
//
// A reader thread per run takes the child's output from the pipe as it
// comes (blocking reads) into a bounded queue, so the child never waits for
// the owner's next poll; ReadOutput takes from that queue.

#include <windows.h>

#include <memory>
#include <string>

#include "exec/OutputQueue.h"
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

    // Hands back at most `maxBytes` (4095 unless asked otherwise) of the
    // output that has arrived, exactly as the child wrote it (embedded NUL
    // bytes included). Returns true with an empty string when nothing is
    // waiting, false once the pipe has ended and everything was read.
    bool ReadOutput(std::string& out);
    bool ReadOutput(std::string& out, size_t maxBytes);
    // Bytes arrived and not read yet.
    size_t WaitingOutput() const;
    // Waits up to `milliseconds` for output or for the pipe's end.
    bool WaitForOutput(DWORD milliseconds);
    // Waits up to `milliseconds` for the pipe's end (every writer gone and
    // everything read from it); true when it has ended.
    bool WaitForOutputEnd(DWORD milliseconds);
    // Nobody will read this run's output any more: it is read and dropped
    // until the pipe ends, so that the child never waits in a write.
    void DropOutput();
    // The most output held unread at once during this run.
    size_t PeakWaitingOutput() const;

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
    bool StartReader();
    void PutIntoJob(const PROCESS_INFORMATION& info);
    void ApplyJobLimits();

    std::string lastError;
    bool childCreationFailed = false;
    bool terminated = false;
    DWORD exitCode = 0;
    // Filled by the reader thread, which owns the pipe's read end; shared so
    // that the thread may outlive the runner (it ends with the pipe).
    std::shared_ptr<OutputQueue> output;
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

#include "exec/ProcessRunner.h"

#include "common/Diag.h"
#include "common/TextFormat.h"
#include "framework/WideText.h"

#include <algorithm>
#include <cstring>
#include <thread>
#include <utility>
#include <vector>

namespace {

// The system takes a command line of 32,767 UTF-16 characters, its
// terminator included.
constexpr size_t kMaxCommandLineLength = 32766;

// One read never returns more than this, so a caller that keeps a
// terminated copy needs no more than the same 4096-byte buffer.
constexpr DWORD kMaxReadChunk = 4095;

// The output pipe's own buffer: a child writing small pieces between two
// reads of the reader thread rarely finds it full.
constexpr DWORD kOutputPipeSize = 1024 * 1024;
// Output read but not yet taken; when it is full, the reader waits.
constexpr size_t kOutputQueueCapacity = 64 * 1024 * 1024;
constexpr DWORD kReaderPiece = 64 * 1024;

// The reader thread: blocking reads until every writer has closed the pipe.
void ReadPipeInto(HANDLE pipe, std::shared_ptr<OutputQueue> queue)
{
    UniqueKernelHandle owned(pipe);
    std::vector<char> buffer(kReaderPiece);
    DWORD got = 0;
    while (ReadFile(owned.Get(), buffer.data(), kReaderPiece, &got, nullptr)) {
        if (got > 0)
            queue->Put(buffer.data(), got);
    }
    queue->Finish();
}

// Input goes to the pipe in pieces no larger than this: a non-blocking pipe
// may refuse a write that does not fit its free space as a whole.
constexpr size_t kInputPiece = 256;

// The exit code of a child ended by Terminate (or by a failed start after
// it was created), and how long Terminate waits for it to be gone before it
// reads the exit code.
constexpr UINT kTerminatedExitCode = 1;
constexpr DWORD kTerminateWaitMs = 1000;

// The system's description of an error code, empty when it has none.
std::string SystemErrorText(DWORD code)
{
    char* text = nullptr;
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&text), 0,
                       nullptr);
    UniqueLocalMemory owned(text);
    return length == 0 || text == nullptr ? std::string() : std::string(text, length);
}

}  // namespace

ProcessRunner::~ProcessRunner() { CloseHandles(); }

bool ProcessRunner::Start(const std::string& commandLine)
{
    Diag("\n=== Starting Command (Non-Blocking) ===\n");
    Diag("Command: %s\n\n", commandLine.c_str());

    lastError.clear();
    childCreationFailed = false;
    terminated = false;
    exitCode = 0;
    CloseHandles();

    SECURITY_ATTRIBUTES attributes = {};
    attributes.nLength = sizeof(attributes);
    attributes.lpSecurityDescriptor = nullptr;
    attributes.bInheritHandle = TRUE;

    if (!CreatePipe(stdoutRead.Receive(), stdoutWrite.Receive(), &attributes, kOutputPipeSize)) {
        stdoutRead.Release();
        stdoutWrite.Release();
        lastError = "Failed to create pipe";
        Diag("ERROR: %s\n", lastError.c_str());
        return false;
    }
    SetHandleInformation(stdoutRead.Get(), HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.hStdOutput = stdoutWrite.Get();
    startup.hStdError = stdoutWrite.Get();
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;

    if (CreatePipe(stdinRead.Receive(), stdinWrite.Receive(), &attributes, 0)) {
        SetHandleInformation(stdinWrite.Get(), HANDLE_FLAG_INHERIT, 0);
        // A child that does not read would otherwise block the window that
        // types for it once the pipe is full; what does not fit waits in
        // pendingInput. Only our end changes: the child reads as usual.
        DWORD mode = PIPE_READMODE_BYTE | PIPE_NOWAIT;
        SetNamedPipeHandleState(stdinWrite.Get(), &mode, nullptr, nullptr);
        startup.hStdInput = stdinRead.Get();
    } else {
        // Not fatal: the child reads our own standard input instead.
        stdinRead.Release();
        stdinWrite.Release();
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    }

    // Lengths are counted in the system's characters, not in the bytes of
    // our text.
    std::string expandedText;
    if (!ExpandEnvironmentReferences(commandLine, expandedText))
        return FailStart(DescribeError(GetLastError()));
    const size_t characters = ToWide(expandedText).size();
    if (characters > kMaxCommandLineLength) {
        return FailStart(FormatText("The command line is too long (%d characters after expansion; the limit is %d).",
                                    static_cast<int>(characters), static_cast<int>(kMaxCommandLineLength)));
    }

    std::vector<char> writableCommandLine(expandedText.begin(), expandedText.end());
    writableCommandLine.push_back('\0');

    // Created suspended so that it joins the job before it can start
    // children of its own.
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, writableCommandLine.data(), nullptr, nullptr, TRUE,
                        CREATE_NO_WINDOW | CREATE_SUSPENDED, nullptr, nullptr, &startup, &info)) {
        return FailStart(DescribeError(GetLastError()));
    }
    UniqueKernelHandle thread(info.hThread);
    UniqueKernelHandle child(info.hProcess);
    PutIntoJob(info);
    if (ResumeThread(thread.Get()) == static_cast<DWORD>(-1)) {
        DWORD error = GetLastError();
        TerminateProcess(child.Get(), kTerminatedExitCode);
        thread.Reset();
        child.Reset();
        return FailStart(DescribeError(error));
    }

    process = std::move(child);
    thread.Reset();
    // Only the child (and what it starts) may hold these ends now, so the
    // output pipe ends once all of them have exited.
    stdoutWrite.Reset();
    stdinRead.Reset();
    if (!StartReader())
        return FailStart(DescribeError(GetLastError()));

    Diag("Process started successfully (PID: %d)\n", static_cast<int>(info.dwProcessId));
    Diag("--- Output will be polled via timer ---\n");
    return true;
}

// Unless SetEndTreeOnClose asks for it, the job has no kill-on-close limit:
// a child outlives its runner. When the system refuses the job (for
// instance inside a job that allows no nesting), Terminate falls back to
// ending the child alone and nothing ends with the runner.
void ProcessRunner::PutIntoJob(const PROCESS_INFORMATION& info)
{
    job.Reset(CreateJobObjectA(nullptr, nullptr));
    if (!job.Valid())
        return;
    ApplyJobLimits();
    if (!AssignProcessToJobObject(job.Get(), info.hProcess))
        job.Reset();
}

void ProcessRunner::ApplyJobLimits()
{
    if (!job.Valid())
        return;
    // Breakaway stays allowed: a program that starts processes outside any
    // job (installers, updaters) must still be able to.
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_BREAKAWAY_OK;
    if (endTreeOnClose)
        limits.BasicLimitInformation.LimitFlags |= JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits, sizeof(limits));
}

void ProcessRunner::SetEndTreeOnClose(bool on)
{
    endTreeOnClose = on;
    ApplyJobLimits();
}

bool ProcessRunner::FailStart(const std::string& reason)
{
    lastError = "Failed to execute command\n" + reason;
    childCreationFailed = true;
    Diag("ERROR: %s\n", lastError.c_str());
    CloseHandles();
    return false;
}

bool ProcessRunner::StartReader()
{
    output = std::make_shared<OutputQueue>(kOutputQueueCapacity);
    try {
        std::thread(ReadPipeInto, stdoutRead.Get(), output).detach();
    } catch (...) {
        output.reset();
        Terminate();
        return false;
    }
    stdoutRead.Release();  // the thread's now
    return true;
}

bool ProcessRunner::IsRunning()
{
    if (!process.Valid())
        return false;
    if (WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT)
        return true;
    GetExitCodeProcess(process.Get(), &exitCode);
    Diag("\nProcess exited with code: %d\n", static_cast<int>(exitCode));
    return false;
}

bool ProcessRunner::ReadOutput(std::string& out) { return ReadOutput(out, kMaxReadChunk); }

bool ProcessRunner::ReadOutput(std::string& out, size_t maxBytes)
{
    out.clear();
    return output != nullptr && output->Take(out, maxBytes);
}

size_t ProcessRunner::WaitingOutput() const { return output ? output->Queued() : 0; }

bool ProcessRunner::WaitForOutput(DWORD milliseconds) { return output && output->WaitForOutput(milliseconds); }

bool ProcessRunner::WaitForOutputEnd(DWORD milliseconds) { return !output || output->WaitForEnd(milliseconds); }

void ProcessRunner::DropOutput()
{
    if (output)
        output->Abandon();
}

size_t ProcessRunner::PeakWaitingOutput() const { return output ? output->PeakQueued() : 0; }

bool ProcessRunner::WriteInput(const char* text)
{
    if (!stdinWrite.Valid() || !text)
        return false;
    size_t length = strlen(text);
    if (length == 0)
        return false;
    Diag("Writing to stdin: %s\n", text);
    pendingInput.append(text, length);
    return FlushInput();
}

bool ProcessRunner::FlushInput()
{
    if (!stdinWrite.Valid()) {
        pendingInput.clear();
        return false;
    }
    size_t sent = 0;
    while (sent < pendingInput.size()) {
        DWORD piece = static_cast<DWORD>(std::min(kInputPiece, pendingInput.size() - sent));
        DWORD written = 0;
        if (!WriteFile(stdinWrite.Get(), pendingInput.data() + sent, piece, &written, nullptr)) {
            // The child closed its input or ended: nobody will read the rest.
            pendingInput.clear();
            return false;
        }
        if (written == 0)
            break;  // the pipe is full; the rest goes at a later call
        sent += written;
    }
    pendingInput.erase(0, sent);
    return true;
}

void ProcessRunner::CloseInput()
{
    stdinWrite.Reset();
    pendingInput.clear();
}

void ProcessRunner::Terminate()
{
    if (!process.Valid())
        return;
    if (WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT)
        terminated = true;
    Diag("\n*** Terminating process ***\n");
    // Ending the job also ends what the child started (a command run
    // through cmd /c lives in cmd's children).
    if (!job.Valid() || !TerminateJobObject(job.Get(), kTerminatedExitCode))
        TerminateProcess(process.Get(), kTerminatedExitCode);
    WaitForSingleObject(process.Get(), kTerminateWaitMs);
    GetExitCodeProcess(process.Get(), &exitCode);
    Diag("Process terminated with code: %d\n", static_cast<int>(exitCode));
}

void ProcessRunner::CloseHandles()
{
    // The reader keeps reading (and dropping) until the pipe ends.
    DropOutput();
    output.reset();
    stdoutRead.Reset();
    stdoutWrite.Reset();
    stdinRead.Reset();
    stdinWrite.Reset();
    pendingInput.clear();
    process.Reset();
    job.Reset();
}

bool ProcessRunner::HasOpenHandles() const
{
    return output != nullptr || stdoutRead.Valid() || stdoutWrite.Valid() || stdinRead.Valid() || stdinWrite.Valid() || process.Valid() ||
           job.Valid();
}

std::string ProcessRunner::DescribeError(DWORD code)
{
    const std::string number = FormatText("Error %d: ", static_cast<int>(code));
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
        return number + "The system cannot find the file specified.\n\n"
                        "The command may not exist or is not in your PATH.";
    case ERROR_PATH_NOT_FOUND:
        return number + "The system cannot find the path specified.";
    case ERROR_ACCESS_DENIED:
        return number + "Access is denied.\n\n"
                        "You may need administrator privileges to run this command.";
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return number + "Not enough memory to execute command.";
    case ERROR_BAD_FORMAT:
        return number + "The program is not a valid Win32 application.";
    case ERROR_INVALID_PARAMETER:
        return number + "Invalid parameter in command line.";
    default:
        break;
    }
    // The system's text keeps its own trailing line break.
    const std::string described = SystemErrorText(code);
    return number + (described.empty() ? "Unknown error occurred." : described);
}

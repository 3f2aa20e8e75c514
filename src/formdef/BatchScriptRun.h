#pragma once
// Runs the script of a batch-generated form: writes it to a temporary batch
// file, runs that file through the command interpreter with a local
// ProcessRunner, collects everything it prints and deletes the file again.
// Every step writes its diagnostic line.

#include <windows.h>

#include <string>

struct BatchScriptResult {
    enum class Status {
        Ran,             // the script ran to its end; output and exit code are set
        TempFileFailed,  // the temporary batch file could not be written
        StartFailed,     // the command interpreter could not be started
        Cancelled,       // the watch stopped it; it and all it started are ended
    };
    Status status = Status::TempFileFailed;
    std::string output;  // standard output and standard error, in order
    DWORD exitCode = 0;
    std::string tempPath;  // the temporary file used (gone afterwards)
};

// How long the output pipe may stay silent after the script itself has ended
// before the rest is given up: a process the script left running in the
// background can hold the pipe open for as long as it lives.
constexpr DWORD kBatchDrainQuietMs = 500;

// Looks at the script on every poll while it runs and while the rest of its
// output is read; the window the loader shows for a slow script is one.
class BatchScriptWatch {
public:
    virtual ~BatchScriptWatch() = default;
    // False stops the script and everything it started.
    virtual bool KeepRunning(DWORD elapsedMs, size_t bytesReceived) = 0;
};

// The script and everything it starts end with this program, however it
// ends; what the script leaves running once it has ended is left alone.
BatchScriptResult RunBatchScript(const std::string& script, BatchScriptWatch* watch = nullptr);

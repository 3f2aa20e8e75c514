#pragma once
// The temporary batch files that {{batch cmd}} runs execute. The command
// interpreter reads such a file line by line for as long as the script
// runs, so a file goes only once its run's process tree has ended; a file
// whose run outlived the program is deleted at a later start, once it is a
// day old.

#include <windows.h>

#include <string>
#include <vector>

#include "framework/Handles.h"

class ProcessRunner;

class RunScriptFiles {
public:
    RunScriptFiles() = default;
    // Deletes what it can; the rest waits for DeleteStaleRunScripts.
    ~RunScriptFiles();
    RunScriptFiles(const RunScriptFiles&) = delete;
    RunScriptFiles& operator=(const RunScriptFiles&) = delete;

    // `path` is run by the child `runner` started last (or by nothing, when
    // the start failed).
    void Add(const std::string& path, const ProcessRunner& runner);
    // Deletes every file whose run has ended.
    void DeleteFinished();
    size_t Pending() const { return m_files.size(); }

private:
    struct File {
        std::string path;
        UniqueKernelHandle process;
        UniqueKernelHandle job;  // the whole tree, when the system gave one
    };
    static bool RunHasEnded(const File& file);
    std::vector<File> m_files;
};

// Deletes the program's own run scripts ("tavrel-exec-" and eight hex
// digits, ".bat") in the temporary folder that were last written more than
// `maxAgeMs` ago. Returns how many it deleted.
int DeleteStaleRunScripts(ULONGLONG maxAgeMs = 24ull * 60 * 60 * 1000);

// True for a name the program gives its run scripts.
bool IsRunScriptName(const std::string& name);

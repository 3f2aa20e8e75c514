#pragma once
// Start-up: decides from the command line and the executable's own name
// what the program opens. The decisions are plain logic; everything that
// touches the system (files, the process token, the shell, the dialogs)
// sits behind StartupEnvironment, so each path can be exercised in tests.

#include <string>
#include <vector>

class StartupEnvironment {
public:
    virtual ~StartupEnvironment() = default;
    // Full path of the running executable.
    virtual std::string ExecutablePath() = 0;
    // True when the path exists and is not a folder.
    virtual bool IsExistingFile(const std::string& path) = 0;
    // True when the process runs with administrator rights (an unreadable
    // token counts as not elevated).
    virtual bool IsElevated() = 0;
    // Starts the executable again through the shell's "runas" verb with the
    // given parameters. False with the system's error code when it failed
    // (1223 when the user declined).
    virtual bool LaunchElevated(const std::string& executable, const std::string& parameters,
                                unsigned long* error) = 0;
    // A message box for the user, before any dialog opens.
    virtual void ShowMessage(const std::string& text) = 0;
    virtual void RunConfigDialog() = 0;
    // Runs the form dialog on `path`; `title` is the window-title override
    // (empty for none).
    virtual void RunFormDialog(const std::string& path, const std::string& title) = 0;
};

// The whole start-up decision. `commandLine` is the text after the program
// name exactly as the process received it (null or empty: none).
void RunStartup(const char* commandLine, StartupEnvironment& environment);

// Pieces of the decision, exposed for tests.
std::string PathFromCommandLine(const std::string& commandLine);
// The arguments of a command line as the shell writes several paths: split
// at blanks outside double quotes, the quotes removed.
std::vector<std::string> SplitCommandLineArguments(const std::string& commandLine);
// Folder and base name of an executable path (see common/PathParts.h).
void SplitExecutablePath(const std::string& path, std::string& folder, std::string& baseName);
// True for a path whose last ten characters are ".gui-admin", in any case.
bool NeedsElevation(const std::string& path);

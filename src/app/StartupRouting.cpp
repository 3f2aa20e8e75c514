#include "app/StartupRouting.h"

#include <algorithm>
#include <cctype>

#include "common/Diag.h"
#include "common/PathParts.h"
#include "common/TextFormat.h"

namespace {

const char kProgramName[] = "tavrel";

std::string Lowered(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool IsCommandLineSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// A copy of the executable saved under another name opens the form of the
// same name beside it; empty when there is none (or the name is ours).
std::string FormBesideRenamedExecutable(StartupEnvironment& environment)
{
    Diag("No command line - checking if exe was renamed\n");
    std::string folder, baseName;
    SplitExecutablePath(environment.ExecutablePath(), folder, baseName);
    Diag("Exe directory: %s\n", folder.c_str());
    Diag("Exe basename: %s\n", baseName.c_str());
    if (Lowered(baseName) == kProgramName)
        return std::string();

    Diag("Exe was renamed to %s - looking for matching .gui file\n", baseName.c_str());
    for (const char* extension : { ".gui", ".gui-admin" }) {
        std::string candidate = folder + baseName + extension;
        if (environment.IsExistingFile(candidate)) {
            Diag("Found %s\n", candidate.c_str());
            return candidate;
        }
    }
    Diag("No matching .gui or .gui-admin file found\n");
    return std::string();
}

// True when this process hands over to an elevated copy of itself.
bool RelaunchedElevated(const std::string& path, const char* commandLine,
                        StartupEnvironment& environment)
{
    Diag("File requires elevation: %s\n", path.c_str());
    bool elevated = environment.IsElevated();
    Diag("Current elevation status: %s\n", elevated ? "elevated" : "not elevated");
    if (elevated) {
        Diag("Already elevated - continuing normally\n");
        return false;
    }
    Diag("Re-launching with elevation...\n");
    unsigned long error = 0;
    if (environment.LaunchElevated(environment.ExecutablePath(), commandLine ? commandLine : "",
                                   &error)) {
        Diag("Successfully launched elevated instance\n");
        return true;
    }
    Diag("Failed to launch elevated instance (error %d)\n", static_cast<int>(error));
    if (error == 1223)
        Diag("User cancelled elevation request\n");
    return false;
}

// Several forms dropped on the program arrive as several paths. The whole
// command line stays the path whenever it names a file (an unquoted path
// with blanks) or its first argument does not: the loader then reports it
// as given. False when the line is one path.
bool FirstOfSeveralForms(const std::string& commandLine, const std::string& wholePath,
                         StartupEnvironment& environment, std::string& first, size_t& count)
{
    if (environment.IsExistingFile(wholePath))
        return false;
    const std::vector<std::string> arguments = SplitCommandLineArguments(commandLine);
    if (arguments.size() < 2 || !environment.IsExistingFile(arguments[0]))
        return false;
    first = arguments[0];
    count = arguments.size();
    return true;
}

}  // namespace

std::vector<std::string> SplitCommandLineArguments(const std::string& commandLine)
{
    std::vector<std::string> arguments;
    std::string current;
    bool inQuotes = false;
    bool inArgument = false;
    for (char c : commandLine) {
        if (c == '"') {
            inQuotes = !inQuotes;
            inArgument = true;
        } else if (!inQuotes && IsCommandLineSpace(c)) {
            if (inArgument)
                arguments.push_back(current);
            current.clear();
            inArgument = false;
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (inArgument)
        arguments.push_back(current);
    return arguments;
}

std::string PathFromCommandLine(const std::string& commandLine)
{
    size_t first = 0;
    size_t last = commandLine.size();
    while (first < last && IsCommandLineSpace(commandLine[first]))
        ++first;
    while (last > first && IsCommandLineSpace(commandLine[last - 1]))
        --last;
    std::string path = commandLine.substr(first, last - first);
    // A quoted path loses its first and last character, whatever the last is.
    if (path.size() >= 2 && path[0] == '"')
        path = path.substr(1, path.size() - 2);
    return path;
}

void SplitExecutablePath(const std::string& path, std::string& folder, std::string& baseName)
{
    folder = FolderOf(path);
    baseName = BaseNameOf(path);
}

bool NeedsElevation(const std::string& path)
{
    static const std::string extension = ".gui-admin";
    std::string lowered = Lowered(path);
    if (lowered.size() < extension.size())
        return lowered == extension;
    return lowered.compare(lowered.size() - extension.size(), extension.size(), extension) == 0;
}

void RunStartup(const char* commandLine, StartupEnvironment& environment)
{
    const bool hasCommandLine = commandLine != nullptr && commandLine[0] != '\0';
    std::string path;
    // What an elevated copy is given: the command line, or only the form
    // opened when several were given (it must not say so a second time).
    std::string relaunchParameters = hasCommandLine ? commandLine : "";
    if (hasCommandLine) {
        path = PathFromCommandLine(commandLine);
        Diag("Command line: %s\n", path.c_str());
        std::string first;
        size_t count = 0;
        if (FirstOfSeveralForms(commandLine, path, environment, first, count)) {
            path = first;
            relaunchParameters = "\"" + path + "\"";
            Diag("%d forms given - opening the first: %s\n", static_cast<int>(count), path.c_str());
            environment.ShowMessage(FormatText("Tavrel opens one form at a time: of the %d forms given, only the "
                                               "first is opened:\n\n%s",
                                               static_cast<int>(count), path.c_str()));
        }
    } else {
        path = FormBesideRenamedExecutable(environment);
        if (path.empty()) {
            Diag("Opening config dialog\n");
            environment.RunConfigDialog();
            return;
        }
    }

    if (NeedsElevation(path) && RelaunchedElevated(path, relaunchParameters.c_str(), environment))
        return;

    std::string title;
    if (!hasCommandLine) {
        std::string folder, baseName;
        SplitExecutablePath(environment.ExecutablePath(), folder, baseName);
        if (Lowered(baseName) != kProgramName)
            title = baseName;
    }
    environment.RunFormDialog(path, title);
}

// Start-up decisions with a scripted system: what opens, with which title,
// and the exact diagnostic lines, for every way the program can be started.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/StartupRouting.h"
#include "common/Diag.h"

namespace {

class ScriptedEnvironment : public StartupEnvironment {
public:
    std::string executable = "C:\\Tools\\tavrel.exe";
    std::set<std::string> files;
    bool elevated = false;
    bool launchSucceeds = true;
    unsigned long launchError = 0;

    // What happened.
    int configDialogs = 0;
    std::vector<std::string> formPaths;
    std::vector<std::string> formTitles;
    std::vector<std::string> elevatedLaunches;  // "exe|parameters"
    std::vector<std::string> messages;

    std::string ExecutablePath() override { return executable; }
    bool IsExistingFile(const std::string& path) override { return files.count(path) != 0; }
    bool IsElevated() override { return elevated; }
    bool LaunchElevated(const std::string& exe, const std::string& parameters,
                        unsigned long* error) override
    {
        elevatedLaunches.push_back(exe + "|" + parameters);
        if (!launchSucceeds)
            *error = launchError;
        return launchSucceeds;
    }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void RunConfigDialog() override { ++configDialogs; }
    void RunFormDialog(const std::string& path, const std::string& title) override
    {
        formPaths.push_back(path);
        formTitles.push_back(title);
    }
};

std::string RunAndCapture(const char* commandLine, ScriptedEnvironment& environment)
{
    DiagCapture capture;
    RunStartup(commandLine, environment);
    return capture.Text();
}

TEST(StartupCommandLine, QuotedPathLosesItsQuotesAndOpensTheForm)
{
    ScriptedEnvironment env;
    std::string out = RunAndCapture("\"C:\\My Forms\\backup.gui\"", env);
    EXPECT_EQ(out, "Command line: C:\\My Forms\\backup.gui\n");
    ASSERT_EQ(env.formPaths.size(), 1u);
    EXPECT_EQ(env.formPaths[0], "C:\\My Forms\\backup.gui");
    EXPECT_EQ(env.formTitles[0], "");
    EXPECT_EQ(env.configDialogs, 0);
}

TEST(StartupCommandLine, PathsAreTrimmedAndQuotesStrippedAsReceived)
{
    EXPECT_EQ(PathFromCommandLine("C:\\a b\\x.gui"), "C:\\a b\\x.gui");
    EXPECT_EQ(PathFromCommandLine(" \t\"C:\\x.gui\"\r\n"), "C:\\x.gui");
    // A quoted path followed by more text keeps its closing quote and loses
    // the last character of the text.
    EXPECT_EQ(PathFromCommandLine("\"C:\\x.gui\" extra"), "C:\\x.gui\" extr");
    EXPECT_EQ(PathFromCommandLine("   "), "");
    EXPECT_EQ(PathFromCommandLine("\"\""), "");
    EXPECT_EQ(PathFromCommandLine("\""), "\"");
}

// Forms dropped together arrive as several paths, quoted where they hold
// blanks: the first opens, and a box says why the others do not.
TEST(StartupCommandLine, SeveralFormsOpenTheFirstAndSaySo)
{
    ScriptedEnvironment env;
    env.files = { "C:\\My Forms\\a.gui", "C:\\b.gui", "C:\\c.gui-admin", "C:\\My Forms\\d e.gui" };
    std::string out = RunAndCapture("\"C:\\My Forms\\a.gui\" C:\\b.gui \"C:\\c.gui-admin\"", env);
    EXPECT_EQ(out, "Command line: C:\\My Forms\\a.gui\" C:\\b.gui \"C:\\c.gui-admin\n"
                   "3 forms given - opening the first: C:\\My Forms\\a.gui\n");
    ASSERT_EQ(env.formPaths, std::vector<std::string>{ "C:\\My Forms\\a.gui" });
    ASSERT_EQ(env.messages.size(), 1u);
    EXPECT_EQ(env.messages[0], "Tavrel opens one form at a time: of the 3 forms given, only the first is opened:"
                               "\n\nC:\\My Forms\\a.gui");

    // An elevated copy gets the one form, and does not say it again.
    ScriptedEnvironment admin = env;
    admin.messages.clear();
    RunAndCapture("C:\\c.gui-admin C:\\b.gui", admin);
    ASSERT_EQ(admin.elevatedLaunches, std::vector<std::string>{ "C:\\Tools\\tavrel.exe|\"C:\\c.gui-admin\"" });
    EXPECT_EQ(admin.messages.size(), 1u);

    // One unquoted path with blanks is one form, existing or not.
    for (const char* one : { "C:\\My Forms\\d e.gui", "C:\\My Forms\\missing.gui" }) {
        ScriptedEnvironment single = env;
        single.messages.clear();
        single.formPaths.clear();
        RunAndCapture(one, single);
        EXPECT_EQ(single.formPaths, std::vector<std::string>{ one });
        EXPECT_TRUE(single.messages.empty()) << one;
    }
    EXPECT_EQ(SplitCommandLineArguments("  \"a b\"c  d\t\"\" "), (std::vector<std::string>{ "a bc", "d", "" }));
}

TEST(StartupCommandLine, BlankCommandLineStillOpensAnEmptyForm)
{
    ScriptedEnvironment env;
    std::string out = RunAndCapture("   ", env);
    EXPECT_EQ(out, "Command line: \n");
    ASSERT_EQ(env.formPaths.size(), 1u);
    EXPECT_EQ(env.formPaths[0], "");
    EXPECT_EQ(env.configDialogs, 0);
}

TEST(StartupCommandLine, RenamedExecutableWithArgumentKeepsTheOrdinaryTitle)
{
    ScriptedEnvironment env;
    env.executable = "C:\\Tools\\backup.exe";
    env.files = { "C:\\Tools\\backup.gui" };
    RunAndCapture("other.gui", env);
    ASSERT_EQ(env.formPaths.size(), 1u);
    EXPECT_EQ(env.formPaths[0], "other.gui");
    EXPECT_EQ(env.formTitles[0], "");
}

TEST(StartupWithoutArguments, OwnNameInAnyCaseOpensTheConfigurationDialog)
{
    for (const char* exe : { "C:\\T\\TAVREL.EXE", "C:\\T\\Tavrel.exe", "C:\\T\\tavrel.exe" }) {
        ScriptedEnvironment env;
        env.executable = exe;
        std::string out = RunAndCapture(nullptr, env);
        EXPECT_EQ(env.configDialogs, 1) << exe;
        EXPECT_TRUE(env.formPaths.empty()) << exe;
        std::string base = std::string(exe).substr(5, 6);
        EXPECT_EQ(out, "No command line - checking if exe was renamed\n"
                       "Exe directory: C:\\T\\\n"
                       "Exe basename: " + base + "\n"
                       "Opening config dialog\n");
    }
    ScriptedEnvironment empty;
    RunAndCapture("", empty);
    EXPECT_EQ(empty.configDialogs, 1);
}

TEST(StartupWithoutArguments, RenamedExecutableOpensTheFormBesideItTitledByItsName)
{
    ScriptedEnvironment env;
    env.executable = "C:\\Tools\\Backup.exe";
    env.files = { "C:\\Tools\\Backup.gui", "C:\\Tools\\Backup.gui-admin" };
    std::string out = RunAndCapture(nullptr, env);
    EXPECT_EQ(out, "No command line - checking if exe was renamed\n"
                   "Exe directory: C:\\Tools\\\n"
                   "Exe basename: Backup\n"
                   "Exe was renamed to Backup - looking for matching .gui file\n"
                   "Found C:\\Tools\\Backup.gui\n");
    ASSERT_EQ(env.formPaths.size(), 1u);
    EXPECT_EQ(env.formPaths[0], "C:\\Tools\\Backup.gui");  // .gui before .gui-admin
    EXPECT_EQ(env.formTitles[0], "Backup");
}

TEST(StartupWithoutArguments, AdminFormIsUsedWhenNoPlainFormExists)
{
    // A folder named backup.gui does not count: IsExistingFile says no.
    ScriptedEnvironment env;
    env.executable = "C:\\Tools\\backup.exe";
    env.elevated = true;
    env.files = { "C:\\Tools\\backup.gui-admin" };
    std::string out = RunAndCapture(nullptr, env);
    ASSERT_EQ(env.formPaths.size(), 1u);
    EXPECT_EQ(env.formPaths[0], "C:\\Tools\\backup.gui-admin");
    EXPECT_EQ(env.formTitles[0], "backup");
    EXPECT_NE(out.find("Found C:\\Tools\\backup.gui-admin\n"
                       "File requires elevation: C:\\Tools\\backup.gui-admin\n"
                       "Current elevation status: elevated\n"
                       "Already elevated - continuing normally\n"),
              std::string::npos)
        << out;
}

TEST(StartupWithoutArguments, RenamedExecutableWithoutFormFallsBackToConfiguration)
{
    ScriptedEnvironment env;
    env.executable = "C:\\Tools\\tool.beta.exe";
    std::string out = RunAndCapture(nullptr, env);
    EXPECT_EQ(out, "No command line - checking if exe was renamed\n"
                   "Exe directory: C:\\Tools\\\n"
                   "Exe basename: tool.beta\n"
                   "Exe was renamed to tool.beta - looking for matching .gui file\n"
                   "No matching .gui or .gui-admin file found\n"
                   "Opening config dialog\n");
    EXPECT_EQ(env.configDialogs, 1);
}

TEST(StartupExecutablePath, FolderAndBaseName)
{
    std::string folder, base;
    SplitExecutablePath("C:\\a.b\\tool.beta.exe", folder, base);
    EXPECT_EQ(folder, "C:\\a.b\\");
    EXPECT_EQ(base, "tool.beta");
    SplitExecutablePath("tool", folder, base);
    EXPECT_EQ(folder, "");
    EXPECT_EQ(base, "tool");
    // Either separator ends the folder, and a leading dot is no extension.
    SplitExecutablePath("C:\\a/b.c/.exe", folder, base);
    EXPECT_EQ(folder, "C:\\a/b.c/");
    EXPECT_EQ(base, ".exe");
}

TEST(StartupElevation, ExtensionTestIgnoresCaseAndLooksOnlyAtTheEnd)
{
    EXPECT_TRUE(NeedsElevation("X.GUI-ADMIN"));
    EXPECT_TRUE(NeedsElevation("c:\\f\\x.Gui-Admin"));
    EXPECT_TRUE(NeedsElevation(".gui-admin"));
    EXPECT_FALSE(NeedsElevation("x.gui-admin.txt"));
    EXPECT_FALSE(NeedsElevation("x.gui"));
    EXPECT_FALSE(NeedsElevation("admin"));
}

TEST(StartupElevation, NotElevatedRelaunchesThroughRunasWithTheRawCommandLine)
{
    ScriptedEnvironment env;
    const char* raw = "  \"C:\\f\\setup.gui-admin\" ";
    std::string out = RunAndCapture(raw, env);
    EXPECT_EQ(out, "Command line: C:\\f\\setup.gui-admin\n"
                   "File requires elevation: C:\\f\\setup.gui-admin\n"
                   "Current elevation status: not elevated\n"
                   "Re-launching with elevation...\n"
                   "Successfully launched elevated instance\n");
    ASSERT_EQ(env.elevatedLaunches.size(), 1u);
    EXPECT_EQ(env.elevatedLaunches[0], std::string("C:\\Tools\\tavrel.exe|") + raw);
    EXPECT_TRUE(env.formPaths.empty()) << "the elevated copy takes over";
}

TEST(StartupElevation, DeclinedPromptOpensTheFormUnelevated)
{
    ScriptedEnvironment env;
    env.launchSucceeds = false;
    env.launchError = 1223;
    std::string out = RunAndCapture("x.gui-admin", env);
    EXPECT_NE(out.find("Failed to launch elevated instance (error 1223)\n"
                       "User cancelled elevation request\n"),
              std::string::npos)
        << out;
    ASSERT_EQ(env.formPaths.size(), 1u);
    EXPECT_EQ(env.formPaths[0], "x.gui-admin");
}

TEST(StartupElevation, OtherLaunchFailuresOnlyLogTheCode)
{
    ScriptedEnvironment env;
    env.launchSucceeds = false;
    env.launchError = 5;
    std::string out = RunAndCapture("x.gui-admin", env);
    EXPECT_NE(out.find("Failed to launch elevated instance (error 5)\n"), std::string::npos);
    EXPECT_EQ(out.find("User cancelled"), std::string::npos);
    EXPECT_EQ(env.formPaths.size(), 1u);
}

TEST(StartupElevation, RenamedExecutableRelaunchesWithAnEmptyParameterList)
{
    ScriptedEnvironment env;
    env.executable = "C:\\T\\admin.exe";
    env.files = { "C:\\T\\admin.gui-admin" };
    RunAndCapture(nullptr, env);
    ASSERT_EQ(env.elevatedLaunches.size(), 1u);
    EXPECT_EQ(env.elevatedLaunches[0], "C:\\T\\admin.exe|");
}

}  // namespace

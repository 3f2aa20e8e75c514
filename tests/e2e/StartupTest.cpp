// Start-up of the real program: which form it opens, from its command line
// or its own name, told by its diagnostic lines and the windows it shows.

#include <gtest/gtest.h>

#include "e2e/Driver.h"
#include "e2e/E2eExpect.h"

namespace e2e {
namespace {

const char kPingForm[] = "ping.exe\r\nPing a host\r\n{{required text}} Host\r\n-n {{number}} Count\r\n";

class Startup : public ::testing::Test {
protected:
    // Closes the form the program shows and expects the program to end.
    void CloseAndExpectExit(HWND form)
    {
        app.Close(form);
        DWORD exitCode = 1;
        EXPECT_TRUE(app.WaitForExit(kDefaultTimeoutMs, &exitCode)) << app.Output();
        EXPECT_EQ(exitCode, 0u);
    }

    TempFolder dir;
    TavrelProcess app;
};

TEST_F(Startup, QuotedPathLosesItsQuotesAndOpensTheForm)
{
    ASSERT_TRUE(CreateDirectoryA(dir.PathOf("my forms").c_str(), nullptr));
    const std::string path = dir.Write("my forms\\ping.gui", kPingForm);

    ASSERT_TRUE(app.Start("\"" + path + "\""));
    HWND form = app.WaitForWindow("ping.exe");
    ASSERT_NE(form, nullptr) << app.Output();
    EXPECT_TRUE(ContainsInOrder(app.Output(), {"Command line: " + path + "\n",
                                               "ParseFileWithBatchSupport: " + path + "\n",
                                               "Command: ping.exe\n", "Parsed 2 controls\n"}));
    EXPECT_FALSE(Contains(app.Output(), "File requires elevation"));
    CloseAndExpectExit(form);
}

TEST_F(Startup, UnquotedPathWithBlanksIsTrimmedButKeepsInnerSpaces)
{
    ASSERT_TRUE(CreateDirectoryA(dir.PathOf("two words").c_str(), nullptr));
    const std::string path = dir.Write("two words\\ping.gui", kPingForm);

    ASSERT_TRUE(app.Start("  " + path + " \t"));
    HWND form = app.WaitForWindow("ping.exe");
    ASSERT_NE(form, nullptr) << app.Output();
    EXPECT_TRUE(Contains(app.Output(), "Command line: " + path + "\n"));
    CloseAndExpectExit(form);
}

TEST_F(Startup, FileThatDoesNotExistIsReportedThenAnEmptyFormOpens)
{
    const std::string missing = dir.PathOf("nowhere.gui");
    ASSERT_TRUE(app.Start("\"" + missing + "\""));

    // The box is captioned with the application's name, as is the empty form
    // behind it, which stays hidden until the box is answered.
    MessageBoxSeen box = app.AnswerMessageBox("tavrel", IDOK);
    ASSERT_TRUE(box.found) << app.Output();
    EXPECT_EQ(box.text, "Failed to open file: " + missing);
    EXPECT_TRUE(app.WaitForWindowGone(box.hwnd));

    HWND form = app.WaitForWindow("tavrel");
    ASSERT_NE(form, nullptr) << app.Output();
    EXPECT_NE(form, box.hwnd);
    EXPECT_TRUE(ContainsInOrder(app.Output(), {"Command line: " + missing + "\n",
                                               "##ERROR##\tFailed to open file: " + missing + "\n"}));
    EXPECT_FALSE(Contains(app.Output(), "Command: "));  // nothing was parsed
    CloseAndExpectExit(form);
}

TEST_F(Startup, RenamedExecutableOpensTheFormOfItsOwnName)
{
    ASSERT_TRUE(dir.Copy(TavrelExePath(), "backup.exe"));
    dir.Write("backup.gui", "robocopy.exe\r\nBack up a folder\r\n-v Verbose\r\n");

    ASSERT_TRUE(app.Start("", dir.Path(), dir.PathOf("backup.exe")));
    HWND form = app.WaitForWindow("backup");
    ASSERT_NE(form, nullptr) << app.Output();
    EXPECT_TRUE(ContainsInOrder(app.Output(), {"No command line - checking if exe was renamed\n",
                                               "Exe directory: " + dir.Path() + "\\\n",
                                               "Exe basename: backup\n",
                                               "Exe was renamed to backup - looking for matching .gui file\n",
                                               "Found " + dir.PathOf("backup.gui") + "\n",
                                               "Command: robocopy.exe\n"}));
    CloseAndExpectExit(form);
}

TEST_F(Startup, AdminFormInAnElevatedProcessOpensWithoutRelaunching)
{
    const std::string path = dir.Write("Tool.GUI-ADMIN", "netsh.exe\r\nNetwork settings\r\n-v Verbose\r\n");

    ASSERT_TRUE(app.Start("\"" + path + "\""));
    HWND form = app.WaitForWindow("netsh.exe");
    ASSERT_NE(form, nullptr) << app.Output();
    EXPECT_TRUE(ContainsInOrder(app.Output(), {"File requires elevation: " + path + "\n",
                                               "Current elevation status: elevated\n",
                                               "Already elevated - continuing normally\n",
                                               "ParseFileWithBatchSupport: " + path + "\n"}));
    EXPECT_FALSE(Contains(app.Output(), "Re-launching"));
    CloseAndExpectExit(form);
}

}  // namespace
}  // namespace e2e

// Batch-generated forms in the real program: the script runs while the form
// loads, in the program's working folder, and its output becomes the form.

#include <gtest/gtest.h>

#include "e2e/Driver.h"
#include "e2e/E2eExpect.h"

namespace e2e {
namespace {

// The text after `key` up to the end of its line, or empty.
std::string ValueAfter(const std::string& output, const std::string& key, size_t from = 0)
{
    size_t at = output.find(key, from);
    if (at == std::string::npos)
        return std::string();
    at += key.size();
    return output.substr(at, output.find('\n', at) - at);
}

std::string FileNameOf(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

TEST(BatchForm, ScriptOutputIsTheFormAndEveryStepIsTraced)
{
    TempFolder dir;
    dir.Write("a.profile", "");
    dir.Write("b.profile", "");
    const std::string path = dir.Write("profiles.gui",
                                       "{{batch gui}}\r\n@echo off\r\necho mytool.exe\r\n"
                                       "echo Choose the profiles to load.\r\n"
                                       "for %%f in (*.profile) do echo \"--load=%%f\" Load %%f\r\n");
    TavrelProcess app;
    ASSERT_TRUE(app.Start("\"" + path + "\"", dir.Path()));
    HWND form = app.WaitForWindow("mytool.exe");
    ASSERT_NE(form, nullptr) << app.Output();

    const std::string output = app.Output();
    const std::string temp = ValueAfter(output, "Creating temp batch file: ");
    EXPECT_TRUE(ContainsInOrder(output, {"ParseFileWithBatchSupport: " + path + "\n",
                                         "{{batch gui}} tag detected - executing batch script\n",
                                         "Temp batch file written\n",
                                         "Executing: cmd /c \"" + temp + "\"\n",
                                         "Batch script exit code: 0\n",
                                         "Temp batch file deleted\n",
                                         "Command: mytool.exe\n",
                                         "Description: Choose the profiles to load.\n",
                                         "Parsed 2 controls\n",
                                         "Batch parsing complete: SUCCESS\n"}));
    EXPECT_TRUE(Contains(output, "  -> Flag: --load=a.profile\n"));
    EXPECT_TRUE(Contains(output, "  -> Flag: --load=b.profile\n"));
    EXPECT_FALSE(FileExists(temp)) << temp;

    app.Close(form);
    EXPECT_TRUE(app.WaitForExit());
}

TEST(BatchForm, TwoProgramsLoadingAtOnceUseTwoFiles)
{
    TempFolder dir;
    // Each script names its own file as the form's description and stays a
    // little while, so that the two runs overlap.
    const std::string path = dir.Write("slow.gui", "{{batch gui}}\r\n@echo off\r\necho slowtool.exe\r\n"
                                                   "echo %~nx0\r\n\"" + TestBinFolder() +
                                                   "tavrel_testchild.exe\" sleep 700\r\n");
    TavrelProcess first, second;
    ASSERT_TRUE(first.Start("\"" + path + "\""));
    ASSERT_TRUE(second.Start("\"" + path + "\""));
    HWND firstForm = first.WaitForWindow("slowtool.exe");
    HWND secondForm = second.WaitForWindow("slowtool.exe");
    ASSERT_NE(firstForm, nullptr) << first.Output();
    ASSERT_NE(secondForm, nullptr) << second.Output();

    const std::string firstFile = FileNameOf(ValueAfter(first.Output(), "Creating temp batch file: "));
    const std::string secondFile = FileNameOf(ValueAfter(second.Output(), "Creating temp batch file: "));
    ASSERT_FALSE(firstFile.empty());
    EXPECT_NE(firstFile, secondFile);
    // Each program parsed the output of its own script.
    EXPECT_TRUE(Contains(first.Output(), "Description: " + firstFile + "\n")) << first.Output();
    EXPECT_TRUE(Contains(second.Output(), "Description: " + secondFile + "\n")) << second.Output();

    first.Close(firstForm);
    second.Close(secondForm);
    EXPECT_TRUE(first.WaitForExit());
    EXPECT_TRUE(second.WaitForExit());
}

// True when the process ends within the time; otherwise it is ended here,
// so that a failing test leaves nothing behind.
bool EndsByItself(DWORD pid, DWORD timeoutMs)
{
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
    if (!process)
        return true;  // already gone
    bool ended = WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0;
    if (!ended)
        TerminateProcess(process, 1);
    CloseHandle(process);
    return ended;
}

TEST(BatchForm, SlowScriptShowsProgressAndEndsWhenTheProgramIsKilled)
{
    TempFolder dir;
    // The script's helper starts a copy of itself, writes both process ids
    // to a file and then waits for ten minutes.
    const std::string path = dir.Write("slow.gui", "{{batch gui}}\r\n@echo off\r\necho slowtool.exe\r\n\"" +
                                                       TestBinFolder() + "tavrel_testchild.exe\" spawn 600000 pid "
                                                       "sleep 600000 >ids.txt\r\n");
    TavrelProcess app;
    ASSERT_TRUE(app.Start("\"" + path + "\"", dir.Path()));
    HWND progress = app.WaitForWindowWhere(
        [](const WindowInfo& window) { return FindChild(window.hwnd, "Static", "Preparing the form from slow.gui...") != nullptr; });
    ASSERT_NE(progress, nullptr) << app.Output();
    ASSERT_TRUE(app.WaitForOutput("Batch script still running - showing the progress window\n"));

    std::string ids;
    for (DWORD start = GetTickCount(); ids.find("pid=") == std::string::npos && GetTickCount() - start < 10000;
         Sleep(50)) {
        HANDLE file = CreateFileA(dir.PathOf("ids.txt").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            continue;
        char buffer[256] = {};
        DWORD got = 0;
        ReadFile(file, buffer, sizeof(buffer) - 1, &got, nullptr);
        CloseHandle(file);
        ids.assign(buffer, got);
    }
    DWORD helper = strtoul(ValueAfter(ids, "pid=").c_str(), nullptr, 10);
    DWORD copy = strtoul(ValueAfter(ids, "grandchild=").c_str(), nullptr, 10);
    ASSERT_NE(helper, 0u) << ids;
    ASSERT_NE(copy, 0u) << ids;

    app.Kill();
    EXPECT_TRUE(EndsByItself(helper, 5000));
    EXPECT_TRUE(EndsByItself(copy, 5000));
}

}  // namespace
}  // namespace e2e

// The loader of form definition files, for real: {{batch gui}} scripts run
// through cmd under the system, their output parsed as the form.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

#include "FormdefTestSupport.h"
#include "exec/RunnerPolling.h"
#include "common/Diag.h"
#include "exec/StartErrorBox.h"
#include "formdef/BatchProgressWindow.h"
#include "formdef/BatchScriptRun.h"
#include "framework/WinApp.h"
#include "support/TestPrograms.h"
#include "support/WindowQueries.h"

namespace {

// A loader that hangs would hang the whole test program; past this time the
// test fails and the program ends (its children lose their pipes with it).
constexpr DWORD kLoadDeadlineMs = 20000;

struct BoxShown {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;
};

// Loads one form file from a folder of its own, that folder being the
// working directory (scripts see it as their current folder), and records
// everything the user would have seen.
class BatchLoad : public ::testing::Test {
protected:
    void SetUp() override
    {
        char previous[MAX_PATH];
        GetCurrentDirectoryA(sizeof(previous), previous);
        m_previousDirectory = previous;
        SetCurrentDirectoryA(folder.PathOf("").c_str());
        SetMessageBoxHook([this](HWND owner, const std::string& text, const std::string& caption, UINT type) {
            boxes.push_back({owner, text, caption, type});
            return IDOK;
        });
        SetStartErrorPresenter([this](const std::string& text) { startErrors.push_back(text); });
    }
    void TearDown() override
    {
        SetCurrentDirectoryA(m_previousDirectory.c_str());
        SetMessageBoxHook(nullptr);
        SetStartErrorPresenter(nullptr);
        for (DWORD pid : leftovers) {
            if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
                TerminateProcess(process, 1);
                WaitForSingleObject(process, 3000);
                CloseHandle(process);
            }
        }
    }

    // Writes the form file and loads it; the time taken lands in `elapsedMs`.
    bool Load(const std::string& formBytes)
    {
        return LoadPath(folder.Write("form.gui", formBytes));
    }

    // `whileLoading` runs on the test's thread while the loader works on its own.
    bool LoadPath(const std::string& path, const std::function<void()>& whileLoading = nullptr)
    {
        std::atomic<bool> done{false};
        bool result = false;
        DWORD start = GetTickCount();
        std::thread loader([&] {
            result = model.ParseFileWithBatchSupport(path);
            done = true;
        });
        if (whileLoading)
            whileLoading();
        while (!done && GetTickCount() - start < kLoadDeadlineMs)
            Sleep(10);
        if (!done) {
            ADD_FAILURE() << "the loader did not return within " << kLoadDeadlineMs << " ms";
            fflush(stdout);
            TerminateProcess(GetCurrentProcess(), 3);
        }
        loader.join();
        elapsedMs = GetTickCount() - start;
        return result;
    }

    std::string Diagnostics() const { return diag.Text(); }
    bool Wrote(const std::string& line) const { return diag.Text().find(line) != std::string::npos; }

    // The temporary file named by the "Creating temp batch file" line.
    std::string TempFileUsed() const
    {
        const std::string key = "Creating temp batch file: ";
        size_t at = diag.Text().find(key);
        if (at == std::string::npos)
            return std::string();
        at += key.size();
        return diag.Text().substr(at, diag.Text().find('\n', at) - at);
    }

    PortableTempFolder folder;
    RecordingPresenter presenter;
    DiagCapture diag;
    CFormModel model;
    std::vector<BoxShown> boxes;
    std::vector<std::string> startErrors;
    std::vector<DWORD> leftovers;
    DWORD elapsedMs = 0;

private:
    std::string m_previousDirectory;
};

// `lines` appear in the text in this order (other text may lie between).
void ExpectInOrder(const std::string& text, const std::vector<std::string>& lines)
{
    size_t from = 0;
    for (const std::string& line : lines) {
        size_t at = text.find(line, from);
        ASSERT_NE(at, std::string::npos) << "missing or out of order: [" << line << "]\nin:\n" << text;
        from = at + line.size();
    }
}

std::vector<std::string> FlagsOf(const CFormModel& model)
{
    std::vector<std::string> flags;
    for (const auto& control : model.m_controls)
        flags.push_back(control->m_strFlag);
    return flags;
}

TEST_F(BatchLoad, ScriptOutputBecomesTheForm)
{
    folder.Write("a.profile", "");
    folder.Write("b.profile", "");
    const std::string script =
        "@echo off\r\n"
        "echo mytool.exe\r\n"
        "echo Choose the profiles to load.\r\n"
        "for %%f in (*.profile) do echo \"--load=%%f\" Load %%f\r\n";

    ASSERT_TRUE(Load("{{batch gui}}\r\n" + script));

    EXPECT_EQ(model.m_strCommand, "mytool.exe");
    EXPECT_EQ(model.m_strDescription, "Choose the profiles to load.");
    std::vector<std::string> flags = FlagsOf(model);
    std::sort(flags.begin(), flags.end());
    EXPECT_EQ(flags, (std::vector<std::string>{"--load=a.profile", "--load=b.profile"}));
    for (const auto& control : model.m_controls)
        EXPECT_EQ(control->m_strLabel, "Load " + control->m_strFlag.substr(7));

    const std::string temp = TempFileUsed();
    const std::string output =
        "mytool.exe\r\nChoose the profiles to load.\r\n"
        "\"--load=a.profile\" Load a.profile\r\n\"--load=b.profile\" Load b.profile\r\n";
    ExpectInOrder(Diagnostics(),
                  {"\n========================================\n",
                   "ParseFileWithBatchSupport: " + folder.PathOf("form.gui") + "\n",
                   "========================================\n",
                   "{{batch gui}} tag detected - executing batch script\n",
                   "Batch script length: " + std::to_string(script.size()) + " bytes\n",
                   "Creating temp batch file: " + temp + "\n",
                   "Temp batch file written\n",
                   "Executing: cmd /c \"" + temp + "\"\n",
                   "----------------------------------------\n",
                   "mytool.exe",  // the script's output as it came (cut anywhere)
                   "----------------------------------------\n",
                   "Batch script exit code: 0\n",
                   "Temp batch file deleted\n",
                   "\nBatch output (" + std::to_string(output.size()) + " bytes):\n",
                   "========================================\n",
                   "Command: mytool.exe\n",
                   "Parsed 2 controls\n",
                   "========================================\n"
                   "Batch parsing complete: SUCCESS\n"
                   "========================================\n\n"});
    EXPECT_FALSE(Wrote("Warning:"));
    EXPECT_TRUE(presenter.reports.empty());

    // The file sat in the temporary folder under the fixed pattern, and is gone.
    char tempFolder[MAX_PATH];
    GetTempPathA(sizeof(tempFolder), tempFolder);
    const std::string prefix = std::string(tempFolder) + "\\tavrel-batch-";
    ASSERT_EQ(temp.compare(0, prefix.size(), prefix), 0) << temp;
    const std::string number = temp.substr(prefix.size(), temp.size() - prefix.size() - 4);
    EXPECT_EQ(number.size(), 8u);
    EXPECT_EQ(number.find_first_not_of("0123456789abcdef"), std::string::npos) << number;
    EXPECT_EQ(temp.substr(temp.size() - 4), ".bat");
    EXPECT_EQ(GetFileAttributesA(temp.c_str()), INVALID_FILE_ATTRIBUTES) << temp;
}

TEST_F(BatchLoad, OutputOnStandardErrorCountsAsOutput)
{
    ASSERT_TRUE(Load("{{batch gui}}\r\n@echo off\r\n"
                     "echo errtool.exe 1>&2\r\necho Only errors 1>&2\r\necho -v Verbose 1>&2\r\n"));
    EXPECT_EQ(model.m_strCommand, "errtool.exe");
    EXPECT_EQ(model.m_strDescription, "Only errors");
    EXPECT_EQ(FlagsOf(model), std::vector<std::string>{"-v"});
}

TEST_F(BatchLoad, NonZeroExitCodeWarnsButTheFormIsStillParsed)
{
    ASSERT_TRUE(Load("{{batch gui}}\r\n@echo off\r\necho tool.exe\r\necho Desc\r\necho -q Quiet\r\nexit 3\r\n"));
    ExpectInOrder(Diagnostics(), {"Batch script exit code: 3\n",
                                  "Warning: Batch script returned non-zero exit code\n",
                                  "Temp batch file deleted\n", "Batch parsing complete: SUCCESS\n"});
    EXPECT_EQ(FlagsOf(model), std::vector<std::string>{"-q"});
}

// A report without a line: the diagnostic line, the titled window, the quit.
void ExpectLineFreeReport(const RecordingPresenter& presenter, const std::string& message,
                          const std::string& diagnostics)
{
    EXPECT_NE(diagnostics.find("##ERROR##\t" + message + "\n"), std::string::npos) << diagnostics;
    ASSERT_EQ(presenter.reports.size(), 1u);
    EXPECT_EQ(presenter.reports[0].title, "Parse Error");
    EXPECT_EQ(presenter.reports[0].text, "Parse Error:\r\n\r\nError: " + message);
    EXPECT_EQ(presenter.quitRequests, 1);
}

TEST_F(BatchLoad, TagWithoutScriptIsReportedAndNothingRuns)
{
    EXPECT_FALSE(Load("  {{batch gui}} anything after the tag\r\n"));
    ExpectLineFreeReport(presenter, "{{batch gui}} file contains no script", Diagnostics());
    EXPECT_TRUE(Wrote("{{batch gui}} tag detected - executing batch script\n"));
    EXPECT_FALSE(Wrote("Creating temp batch file"));
}

TEST_F(BatchLoad, ScriptWithoutOutputIsReportedAfterTheFileIsDeleted)
{
    EXPECT_FALSE(Load("{{batch gui}}\r\n@echo off\r\nrem nothing to say\r\n"));
    ExpectInOrder(Diagnostics(), {"Batch script exit code: 0\n", "Temp batch file deleted\n",
                                  "##ERROR##\tBatch script produced no output\n"});
    ExpectLineFreeReport(presenter, "Batch script produced no output", Diagnostics());
    EXPECT_FALSE(Wrote("Batch output ("));
    EXPECT_EQ(GetFileAttributesA(TempFileUsed().c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(BatchLoad, ErrorsAreNumberedByTheOutputsLines)
{
    // Line 3 of the output is line 5 of the file.
    EXPECT_TRUE(Load("{{batch gui}}\r\n@echo off\r\necho tool.exe\r\necho.\r\necho {{Bad}} x\r\n"));
    ASSERT_EQ(presenter.reports.size(), 1u);
    EXPECT_EQ(presenter.reports[0].title, "Parse Error at Line 3");
    EXPECT_EQ(presenter.reports[0].text,
              "01: tool.exe\r\n02: \r\n03: {{Bad}} x\r\n>>> ERROR AT LINE 3: Unrecognized keyword 'Bad'\r\n");
    EXPECT_TRUE(Wrote("##ERROR##\tLine 3: Unrecognized keyword 'Bad'\n"));
}

TEST_F(BatchLoad, OneLineOfOutputMissesTheDescription)
{
    EXPECT_FALSE(Load("{{batch gui}}\r\n@echo only-a-command\r\n"));
    ASSERT_EQ(presenter.reports.size(), 1u);
    EXPECT_EQ(presenter.reports[0].title, "Parse Error at Line 1");
    EXPECT_EQ(presenter.reports[0].text, "01: only-a-command\r\n>>> ERROR AT LINE 1: Missing description line\r\n");
    EXPECT_TRUE(Wrote("Batch parsing complete: FAILED\n"));
}

// Files that are not batch forms go to the parser unchanged. A byte-order
// mark is no part of the text: a batch form saved with one stays one.
TEST_F(BatchLoad, TagMustStartTheFirstLine)
{
    EXPECT_TRUE(Load("\xEF\xBB\xBF{{batch gui}}\r\n@echo tool\r\n@echo described\r\n"));
    EXPECT_EQ(model.m_strCommand, "tool");
    EXPECT_EQ(model.m_strDescription, "described");
    EXPECT_TRUE(Wrote("tag detected"));

    diag.Reset();
    EXPECT_TRUE(Load("x {{batch gui}}\necho y\n-a A\n"));
    EXPECT_EQ(model.m_strCommand, "x {{batch gui}}");
    EXPECT_EQ(FlagsOf(model), std::vector<std::string>{"-a"});
    EXPECT_FALSE(Wrote("tag detected"));

    diag.Reset();
    EXPECT_FALSE(Load(""));
    EXPECT_TRUE(Wrote("##ERROR##\tFile is empty\n"));
    EXPECT_TRUE(presenter.openFailures.empty());
}

TEST_F(BatchLoad, FileThatDoesNotOpenShowsTheApplicationsBox)
{
    const std::string missing = folder.PathOf("missing.gui");
    EXPECT_FALSE(LoadPath(missing));
    EXPECT_TRUE(Wrote("##ERROR##\tFailed to open file: " + missing + "\n"));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Failed to open file: " + missing);
    EXPECT_EQ(boxes[0].caption, AfxGetAppName());
    EXPECT_EQ(boxes[0].type & MB_TYPEMASK, static_cast<UINT>(MB_OK));
    EXPECT_FALSE(Wrote("showing the progress window")) << "a quick script shows no window";
    // The parser's own box (caption "Tavrel Parse Error") is not used here.
    EXPECT_TRUE(presenter.openFailures.empty());
    EXPECT_TRUE(presenter.reports.empty());
    EXPECT_EQ(presenter.quitRequests, 0);
}

TEST_F(BatchLoad, ScriptThatReadsItsInputGetsEndOfInput)
{
    // Both wait for keys on standard input; the prompt of set /p may or may
    // not end its line, so the answer comes on a line of its own.
    ASSERT_TRUE(Load("{{batch gui}}\r\n@echo off\r\necho tool.exe\r\necho Reads its input\r\n"
                     "set /p answer=Name? \r\npause >nul\r\necho.\r\necho -a [%answer%]\r\n"));
    EXPECT_EQ(model.m_strCommand, "tool.exe");
    ASSERT_FALSE(model.m_controls.empty()) << Diagnostics();
    EXPECT_EQ(model.m_controls.back()->m_strFlag, "-a");
    EXPECT_EQ(model.m_controls.back()->m_strLabel, "[]");
}

TEST_F(BatchLoad, ProcessLeftHoldingThePipeDoesNotKeepTheLoaderWaiting)
{
    // The test child leaves a copy of itself running for 30 s, sharing the
    // script's output pipe, and tells its process id.
    ASSERT_TRUE(Load("{{batch gui}}\r\n@echo off\r\necho tool.exe\r\necho Left a helper behind\r\n@" +
                     QuotedTestChild() + " spawn 30000\r\n"));
    ASSERT_EQ(model.m_controls.size(), 1u) << Diagnostics();
    const std::string& flag = model.m_controls[0]->m_strFlag;  // "grandchild=<pid>"
    ASSERT_EQ(flag.rfind("grandchild=", 0), 0u) << flag;
    DWORD helper = strtoul(flag.c_str() + 11, nullptr, 10);
    leftovers.push_back(helper);

    // The loader ended while the helper still holds the pipe.
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, helper);
    ASSERT_NE(process, nullptr);
    EXPECT_EQ(WaitForSingleObject(process, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    CloseHandle(process);
    EXPECT_TRUE(Wrote("WARNING: Batch script output still open after the script ended - not waiting for it\n"));
    ExpectInOrder(Diagnostics(), {"Batch script exit code: 0\n", "Temp batch file deleted\n",
                                  "Batch parsing complete: SUCCESS\n"});
    std::printf("loader returned after %lu ms with the pipe still held\n", elapsedMs);
}

TEST_F(BatchLoad, TemporaryFileThatCannotBeCreatedIsReported)
{
    // The temporary folder comes from TMP; point it at a folder that is not there.
    char previous[MAX_PATH] = {};
    DWORD hadPrevious = GetEnvironmentVariableA("TMP", previous, sizeof(previous));
    SetEnvironmentVariableA("TMP", folder.PathOf("no-such-folder").c_str());
    bool loaded = Load("{{batch gui}}\r\necho tool.exe\r\n");
    SetEnvironmentVariableA("TMP", hadPrevious ? previous : nullptr);

    EXPECT_FALSE(loaded);
    ExpectLineFreeReport(presenter, "Failed to create temporary batch file", Diagnostics());
    EXPECT_TRUE(Wrote("Creating temp batch file: " + folder.PathOf("no-such-folder")));
    EXPECT_FALSE(Wrote("Executing: "));
}

// A command interpreter that cannot be started: the temporary folder's name
// holds a reference that makes the command line too long once expanded.
TEST_F(BatchLoad, CommandThatCannotStartShowsTheStartBoxThenTheReport)
{
    const std::string tempFolder = folder.PathOf("%TAVREL_BATCH_LONG%%TAVREL_BATCH_LONG%");
    ASSERT_TRUE(CreateDirectoryA(tempFolder.c_str(), nullptr));
    char previous[MAX_PATH] = {};
    DWORD hadPrevious = GetEnvironmentVariableA("TMP", previous, sizeof(previous));
    SetEnvironmentVariableA("TMP", tempFolder.c_str());
    SetEnvironmentVariableA("TAVREL_BATCH_LONG", std::string(17000, 'x').c_str());
    bool loaded = Load("{{batch gui}}\r\necho tool.exe\r\n");
    SetEnvironmentVariableA("TAVREL_BATCH_LONG", nullptr);
    SetEnvironmentVariableA("TMP", hadPrevious ? previous : nullptr);

    EXPECT_FALSE(loaded);
    ASSERT_EQ(1u, startErrors.size());
    EXPECT_EQ(0u, startErrors[0].find("Failed to execute command\nThe command line is too long")) << startErrors[0];
    ExpectLineFreeReport(presenter, "Failed to execute batch script", Diagnostics());
    EXPECT_EQ(GetFileAttributesA(TempFileUsed().c_str()), INVALID_FILE_ATTRIBUTES);
}

BOOL CALLBACK FindProgressWindow(HWND hwnd, LPARAM found)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != GetCurrentProcessId() || !IsWindowVisible(hwnd) || !GetDlgItem(hwnd, BatchProgressWindow::kStatusId))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = hwnd;
    return FALSE;
}

// The visible progress window of this process, or null after `timeoutMs`.
HWND WaitForProgressWindow(DWORD timeoutMs)
{
    HWND found = nullptr;
    for (DWORD start = GetTickCount(); !found && GetTickCount() - start < timeoutMs; Sleep(20))
        EnumWindows(FindProgressWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::string WaitForFileText(const std::string& path, const std::string& needle, DWORD timeoutMs)
{
    std::string text;
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(20)) {
        std::ifstream file(path, std::ios::binary);
        std::ostringstream content;
        content << file.rdbuf();
        text = content.str();
        if (text.find(needle) != std::string::npos)
            break;
    }
    return text;
}

TEST_F(BatchLoad, SlowScriptGetsAWindowWhoseCancelEndsEverythingItStarted)
{
    // The script's helper starts a copy of itself, writes both process ids
    // to a file and then waits for ten minutes.
    const std::string ids = folder.PathOf("ids.txt");
    std::string idText;
    std::string status;
    bool loaded = LoadPath(folder.Write("slow.gui", "{{batch gui}}\r\n@echo off\r\necho tool.exe\r\n@" +
                                                        QuotedTestChild() + " spawn 600000 pid sleep 600000 >ids.txt\r\n"),
                           [&] {
                               idText = WaitForFileText(ids, "pid=", 10000);
                               HWND window = WaitForProgressWindow(10000);
                               ASSERT_NE(window, nullptr) << "no progress window";
                               HWND statusLine = GetDlgItem(window, BatchProgressWindow::kStatusId);
                               for (DWORD start = GetTickCount(); GetTickCount() - start < 5000; Sleep(20)) {
                                   status = TextOf(statusLine);
                                   if (status.find(" 10 bytes received") != std::string::npos)
                                       break;
                               }
                               Click(GetDlgItem(window, IDCANCEL));
                           });
    DWORD helper = NumberAfter(idText, "pid");
    DWORD copy = NumberAfter(idText, "grandchild");
    leftovers = {helper, copy};
    ASSERT_NE(helper, 0u) << idText;
    ASSERT_NE(copy, 0u) << idText;

    EXPECT_FALSE(loaded);
    EXPECT_EQ(status.rfind("Running for ", 0), 0u) << status;
    EXPECT_NE(status.find(" 10 bytes received"), std::string::npos) << status;  // "tool.exe" CR LF
    ExpectLineFreeReport(presenter, "Batch script cancelled", Diagnostics());
    ExpectInOrder(Diagnostics(), {"Batch script still running - showing the progress window\n",
                                  "Batch script cancelled by the user\n", "Temp batch file deleted\n"});
    EXPECT_EQ(GetFileAttributesA(TempFileUsed().c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(WaitProcessGone(helper));
    EXPECT_TRUE(WaitProcessGone(copy));
}

// The window itself, driven by hand: it waits its moment, shows the figures
// it is given, and closing it cancels like its button.
TEST(BatchProgressWindowTest, AppearsAfterAMomentAndClosingItCancels)
{
    DiagCapture diag;
    BatchProgressWindow window("Z:\\forms\\slow.gui");
    EXPECT_TRUE(window.KeepRunning(BatchProgressWindow::kShowAfterMs - 10, 5));
    EXPECT_EQ(window.m_hWnd, nullptr);

    EXPECT_TRUE(window.KeepRunning(2500, 123456));
    ASSERT_NE(window.m_hWnd, nullptr);
    EXPECT_TRUE(IsWindowVisible(window.m_hWnd));
    EXPECT_EQ(TextOf(GetDlgItem(window.m_hWnd, BatchProgressWindow::kStatusId)), "Running for 2 s, 123456 bytes received");
    EXPECT_NE(FindWindowExA(window.m_hWnd, nullptr, "Static", "Preparing the form from slow.gui..."), nullptr);

    PostMessageA(window.m_hWnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(window.KeepRunning(2600, 123456));
    EXPECT_TRUE(IsWindow(window.m_hWnd)) << "the loader, not the window, decides when it goes";
}

}  // namespace

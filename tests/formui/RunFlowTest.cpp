// Pressing Run or an action button: the Shift preview, validation, the
// console window running the real test child, and embedded batch scripts.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "exec/BatchScriptFile.h"
#include "FormHarness.h"
#include "RunFlowSupport.h"
#include "support/TestPrograms.h"

namespace {

const char kPreviewPrefix[] = "Command that would be executed:\n\n";

// Every "Creating temp execution batch file: <path>" path in the output.
std::vector<std::string> BatchFilesLogged(const std::string& diagnostics)
{
    const std::string marker = "Creating temp execution batch file: ";
    std::vector<std::string> paths;
    for (size_t at = diagnostics.find(marker); at != std::string::npos; at = diagnostics.find(marker, at + 1)) {
        size_t start = at + marker.size();
        paths.push_back(diagnostics.substr(start, diagnostics.find('\n', start) - start));
    }
    return paths;
}

std::string TempFolderPath()
{
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    return folder;
}

}  // namespace

TEST(RunPreview, ShiftShowsTheCommandAndDoesNothingElse)
{
    TempFolder scratch;
    std::string existing = scratch.Write("out.txt", "x");
    OpenForm form(MakeFormText("tool", {"{{required text}} Name", "-o {{newfile}} Output", "/v Verbose"}));
    form.SetText(1, existing);
    form.SetChecked(2, true);
    HoldShift shift;
    ConsoleWatch watch(form.Dialog());

    form.PressRun();

    ASSERT_EQ(form.Boxes().size(), 1u);  // no validation, no overwrite question
    const ShownBox& box = form.Boxes()[0];
    EXPECT_EQ(box.text, kPreviewPrefix + std::string("tool -o \"") + existing + "\" /v");
    EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    EXPECT_TRUE(form.Logged("RUN BUTTON CLICKED\n========================================\n"
                            "Shift key detected - showing command preview\n"));
    EXPECT_FALSE(form.Logged("=== ValidateInputs ==="));
    EXPECT_EQ(watch.consolesSeen, 0);
}

// Only the pressed button's flag joins the line, at the place of its line in
// the form, and only while its click is handled.
TEST(RunPreview, ActionButtonAddsItsFlagAtItsPlace)
{
    OpenForm form(MakeFormText("tool", {"{{button --first}} First", "-n {{text}} Name", "{{button --list}} List"}));
    form.SetText(1, "x");
    HoldShift shift;

    form.PressActionButton(2);
    ASSERT_EQ(form.Boxes().size(), 1u);
    EXPECT_EQ(form.Boxes()[0].text, kPreviewPrefix + std::string("tool -n x --list"));
    EXPECT_EQ(form.Control(2).m_bPressed, 0);
    EXPECT_TRUE(form.Logged("ACTION BUTTON CLICKED: ID=7002\n"));
    EXPECT_TRUE(form.Logged("Button: List (flag: --list)\n"));

    form.PressActionButton(0);
    ASSERT_EQ(form.Boxes().size(), 2u);
    EXPECT_EQ(form.Boxes()[1].text, kPreviewPrefix + std::string("tool --first -n x"));

    form.PressRun();
    ASSERT_EQ(form.Boxes().size(), 3u);
    EXPECT_EQ(form.Boxes()[2].text, kPreviewPrefix + std::string("tool -n x"));
}

TEST(RunPreview, ActionButtonAtPosition1000AndATypedRadioFirstBothRespond)
{
    // They used to share identifier 8000.
    std::vector<std::string> lines = { "{{radiostart}}", "-n {{text}} Name", "{{radioend}}" };
    lines.resize(lines.size() + 999, "-c Check");
    lines.push_back("{{button --go}} Go");
    OpenForm form(MakeFormText("tool", lines));
    form.SetText(0, "x");  // typing selects the typed radio
    EXPECT_EQ(BST_CHECKED, form.Control(0).m_pButton->SendMessage(BM_GETCHECK));
    HoldShift shift;
    form.PressActionButton(1000);
    ASSERT_EQ(form.Boxes().size(), 1u);
    EXPECT_EQ(form.Boxes()[0].text, kPreviewPrefix + std::string("tool -n x --go"));
    EXPECT_TRUE(form.Logged("Button: Go (flag: --go)\n"));
}

TEST(RunPreview, BatchFormShowsCommandAndArguments)
{
    OpenForm form(MakeFormText("mybatch", {"-n {{text}} Name", "{{batch cmd}}", "@echo %*"}));
    HoldShift shift;
    form.PressRun();
    form.SetText(0, "two words");
    form.PressRun();
    ASSERT_EQ(form.Boxes().size(), 2u);
    EXPECT_EQ(form.Boxes()[0].text, kPreviewPrefix + std::string("mybatch "));  // the space stays
    EXPECT_EQ(form.Boxes()[1].text, kPreviewPrefix + std::string("mybatch -n \"two words\""));
}

TEST(RunFlow, RunShowsTheChildsArgumentsAsEntered)
{
    OpenForm form(MakeFormText(ArgsPrinterCommand(), {
                                                           "{{dir}} \"\" Folder",     // 0
                                                           "-o {{newdir}} Out",       // 1
                                                           "-m {{text}} Message",     // 2
                                                           "{{text}} \"\" Quoted",    // 3
                                                           "/v Verbose",              // 4
                                                       }));
    form.SetText(0, "C:\\");
    form.SetText(1, "Z:\\no\\such\\out dir\\");
    form.SetText(2, "say \"hi\" now");
    form.SetText(3, "a\"b");
    form.SetChecked(4, true);
    ConsoleWatch watch(form.Dialog());

    form.PressRun();

    ASSERT_EQ(watch.consolesSeen, 1);
    EXPECT_FALSE(watch.timedOut) << watch.text;
    EXPECT_TRUE(watch.Shows("arg1=3:C:\\\n")) << watch.text;
    EXPECT_TRUE(watch.Shows("arg2=2:-o\n")) << watch.text;
    EXPECT_TRUE(watch.Shows("arg3=19:Z:\\no\\such\\out dir\\\n")) << watch.text;
    EXPECT_TRUE(watch.Shows("arg4=2:-m\n")) << watch.text;
    EXPECT_TRUE(watch.Shows("arg5=12:say \"hi\" now\n")) << watch.text;
    EXPECT_TRUE(watch.Shows("arg6=3:a\"b\n")) << watch.text;
    EXPECT_TRUE(watch.Shows("arg7=2:/v\n")) << watch.text;
    EXPECT_TRUE(watch.Shows("args=7\n")) << watch.text;
    EXPECT_TRUE(watch.Shows("***** Process exited with code 0 *****"));
    EXPECT_EQ(watch.caption.rfind("Executing: " + ArgsPrinterCommand(), 0), 0u) << watch.caption;
    EXPECT_NE(watch.caption.find(" (Completed)"), std::string::npos) << watch.caption;

    // The Run button is off while the console is open, and on again after.
    EXPECT_FALSE(watch.runButtonEnabledWhileOpen);
    EXPECT_TRUE(form.Dialog().m_btnRun.IsWindowEnabled());

    std::string line = form.Dialog().BuildCommandLine(true);
    EXPECT_TRUE(form.Logged("\n========================================\nCOMMAND TO EXECUTE:\n" + line +
                            "\n========================================\n\nLaunching FakeConsoleDlg...\n"));
    EXPECT_TRUE(form.Logged("FakeConsoleDlg::DoModal returned 2\n"));
    EXPECT_TRUE(form.Boxes().empty());
}

TEST(RunFlow, RefusedValidationRunsNothing)
{
    OpenForm form(MakeFormText(ArgsPrinterCommand(), {"{{required text}} Name"}));
    ConsoleWatch watch(form.Dialog());
    form.PressRun();  // the warning box is answered No
    EXPECT_EQ(form.BoxCount("Validation Warning"), 1u);
    EXPECT_TRUE(form.Logged("Validation failed - aborting\n"));
    EXPECT_EQ(watch.consolesSeen, 0);

    form.Answer("Validation Warning", IDYES);  // run anyway
    form.PressRun();
    EXPECT_EQ(watch.consolesSeen, 1);
    EXPECT_TRUE(watch.Shows("args=0\n")) << watch.text;
}

TEST(RunFlow, ActionButtonRunsWithItsFlagInPlace)
{
    OpenForm form(MakeFormText(ArgsPrinterCommand(), {
                                                           "{{button --first}} First",  // 0
                                                           "-n {{text}} Name",          // 1
                                                           "{{button --list}} List",    // 2
                                                       }));
    form.SetText(1, "x");
    ConsoleWatch watch(form.Dialog());

    form.PressActionButton(0);

    ASSERT_EQ(watch.consolesSeen, 1);
    EXPECT_TRUE(watch.Shows("arg1=7:--first\narg2=2:-n\narg3=1:x\nargs=3\n")) << watch.text;
    EXPECT_FALSE(watch.runButtonEnabledWhileOpen);
    EXPECT_EQ(form.Control(0).m_bPressed, 0);
    EXPECT_TRUE(form.Logged("Launching FakeConsoleDlg from ActionButton...\n"));
    EXPECT_TRUE(form.Logged("FakeConsoleDlg::DoModal (Action) returned 2\n"));
}

TEST(RunFlow, ActionButtonIdsOutsideTheFormOrNotButtons)
{
    OpenForm form(MakeFormText("tool", {"-n {{text}} Name", "{{button --go}} Go"}));
    ConsoleWatch watch(form.Dialog());

    form.SendCommandId(7002);  // one past the last control
    EXPECT_TRUE(form.Logged("ACTION BUTTON CLICKED: ID=7002\n========================================\n"
                            "ERROR: Invalid button ID\n"));
    form.ResetDiagnostics();
    form.SendCommandId(7000);  // a text field
    EXPECT_TRUE(form.Logged("ERROR: Control is not an action button\n"));
    EXPECT_FALSE(form.Logged("=== ValidateInputs ==="));
    EXPECT_EQ(watch.consolesSeen, 0);
}

TEST(RunFlow, TheSameFormRunsAgain)
{
    OpenForm form(MakeFormText(ArgsPrinterCommand(), {"{{text}} \"\" Word"}));
    ConsoleWatch watch(form.Dialog());
    form.SetText(0, "one");
    form.PressRun();
    EXPECT_TRUE(watch.Shows("arg1=3:one\n")) << watch.text;
    form.SetText(0, "two");
    form.PressRun();
    EXPECT_EQ(watch.consolesSeen, 2);
    EXPECT_TRUE(watch.Shows("arg1=3:two\n")) << watch.text;
}

TEST(EmbeddedBatch, ScriptRunsWithTheBuiltArguments)
{
    const std::string script =
        "@echo off\r\n"
        "echo first=[%1]\r\n"
        "echo second=[%~2]\r\n"
        "echo third=[%3]\r\n";
    OpenForm form(MakeFormText("mybatch", {
                                                "{{dir}} \"\" Folder",  // 0
                                                "{{text}} \"\" Words",  // 1
                                                "{{text}} \"\" Pair",   // 2
                                                "{{batch cmd}}",
                                            }) +
                    "@echo off\n" "echo first=[%1]\n" "echo second=[%~2]\n" "echo third=[%3]\n");
    form.SetText(0, "C:\\");
    form.SetText(1, "two words");
    form.SetText(2, "a&b");
    ConsoleWatch watch(form.Dialog());
    std::string written;
    watch.beforeClose = [&]() {
        std::vector<std::string> files = BatchFilesLogged(form.Diagnostics());
        if (files.size() == 1)
            ReadWholeFile(files[0], written);
    };

    form.PressRun();

    ASSERT_EQ(watch.consolesSeen, 1);
    EXPECT_FALSE(watch.timedOut) << watch.text;
    EXPECT_TRUE(watch.Shows("first=[\"C:\\\"]\n")) << watch.text;
    EXPECT_TRUE(watch.Shows("second=[two words]\n")) << watch.text;
    EXPECT_TRUE(watch.Shows("third=[\"a&b\"]\n")) << watch.text;
    // The Run button is left alone for a batch form.
    EXPECT_TRUE(watch.runButtonEnabledWhileOpen);

    std::vector<std::string> files = BatchFilesLogged(form.Diagnostics());
    ASSERT_EQ(files.size(), 1u);
    // The script, CR LF line ends kept, after the switch of its console to
    // UTF-8; gone once the run has ended and its console closed.
    EXPECT_EQ(written, kUtf8CodePageLine + script);
    EXPECT_EQ(::GetFileAttributesA(files[0].c_str()), INVALID_FILE_ATTRIBUTES) << files[0];
    EXPECT_EQ(files[0].rfind(TempFolderPath() + "\\tavrel-exec-", 0), 0u) << files[0];
    std::string line = "cmd /c \"\"" + files[0] + "\" \"C:\\\" \"two words\" \"a&b\"\"";
    EXPECT_TRUE(form.Logged("========================================\nEXECUTING EMBEDDED BATCH COMMAND:\n" + line +
                            "\n========================================\n\n"));
    EXPECT_FALSE(form.Logged("FakeConsoleDlg::DoModal"));
}

TEST(EmbeddedBatch, EveryRunGetsItsOwnFile)
{
    OpenForm form(MakeFormText("mybatch", {"{{batch cmd}}"}) + "@echo ran\n");
    // Occupy the names of the next moments, as another copy of the program
    // (or a file left behind) would: the run must neither fail nor reuse one.
    std::string folder = TempFolderPath();
    DWORD now = GetTickCount();
    std::set<std::string> occupied;
    for (DWORD tick = now; tick < now + 400; ++tick) {
        char name[64];
        snprintf(name, sizeof name, "\\tavrel-exec-%08x.bat", static_cast<unsigned>(tick));
        std::string path = folder + name;
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            continue;
        DWORD written = 0;
        WriteFile(file, "keep", 4, &written, nullptr);
        CloseHandle(file);
        occupied.insert(path);
    }
    ConsoleWatch watch(form.Dialog());

    form.PressRun();
    form.PressRun();

    std::vector<std::string> files = BatchFilesLogged(form.Diagnostics());
    // The second run may take the name the first one freed when its script
    // was deleted, but never one that another file holds.
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(watch.consolesSeen, 2);
    EXPECT_TRUE(watch.Shows("ran")) << watch.text;
    // Each run's own file is gone with its run; the files of others stay.
    for (const std::string& path : files) {
        EXPECT_EQ(occupied.count(path), 0u) << path;
        EXPECT_EQ(::GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES) << path;
    }
    for (const std::string& path : occupied) {
        std::string bytes;
        EXPECT_TRUE(ReadWholeFile(path, bytes));
        EXPECT_EQ(bytes, "keep") << path;
        DeleteFileA(path.c_str());
    }
}

TEST(EmbeddedBatch, EmptyScriptRunsNothing)
{
    OpenForm form(MakeFormText("mybatch", {"{{batch cmd}}"}));
    ConsoleWatch watch(form.Dialog());
    form.PressRun();
    EXPECT_TRUE(form.Logged("Failed to start embedded batch command\n"));
    EXPECT_TRUE(form.Boxes().empty());
    EXPECT_EQ(watch.consolesSeen, 0);
    EXPECT_FALSE(form.Dialog().RunEmbeddedBatch(""));
}

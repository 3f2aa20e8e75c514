// Running forms in the real program: fill the fields, press Run or an action
// button, and read what the child received in the console window (the test
// child prints its arguments back) and what the program traced.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "e2e/Driver.h"
#include "support/WorkedExampleForm.h"

using namespace e2e;

namespace {

// The test child as a form's command: it prints every argument after
// "args" as "arg<k>=<length>:<bytes>", then "args=<count>".
std::string ArgsPrinter() { return "\"" + TestBinFolder() + "tavrel_testchild.exe\" args"; }

std::string FormFile(const std::string& command, const std::vector<std::string>& lines)
{
    std::string text = command + "\r\nA form run from end to end.\r\n";
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

bool StartsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

bool EndsWith(const std::string& text, const std::string& suffix)
{
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Holds Shift down for the whole system while it lives: the program reads
// the key's state at the moment Run is pressed.
class ShiftHeld {
public:
    // Returns once the system has reported Shift down for a while. Under
    // Wine, a focus change makes the display's real keyboard state (no
    // Shift) win again some time after the key went down, so the key is
    // sent again until it stays down.
    ShiftHeld()
    {
        for (int attempt = 0; attempt < 10; ++attempt) {
            if (!IsDown())
                Send(0);
            for (int wait = 0; wait < 50 && !IsDown(); ++wait)
                Sleep(10);
            Sleep(400);
            if (IsDown())
                return;
        }
    }
    ~ShiftHeld() { Send(KEYEVENTF_KEYUP); }

private:
    static bool IsDown() { return (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0; }
    static void Send(DWORD flags)
    {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = VK_SHIFT;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(VK_SHIFT, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = flags;
        SendInput(1, &input, sizeof(input));
    }
};

// One form opened in the real program.
class OpenedForm {
public:
    // `command` is line 1 of the form; the window is titled with it.
    bool Open(const std::string& command, const std::vector<std::string>& lines,
              const std::string& trailer = std::string())
    {
        std::string path = m_dir.Write("form.gui", FormFile(command, lines) + trailer);
        if (!m_app.Start("\"" + path + "\""))
            return false;
        m_form = m_app.WaitForWindow(command);
        return m_form != nullptr;
    }

    TavrelProcess& App() { return m_app; }
    const TempFolder& Dir() const { return m_dir; }
    HWND Form() const { return m_form; }

    // Edit boxes and check boxes are counted in the order Tab visits them.
    void Type(size_t editBox, const std::string& text)
    {
        EXPECT_TRUE(SetText(EditBox(m_form, editBox), text)) << "edit box " << editBox;
    }
    void Tick(size_t checkBox) { EXPECT_TRUE(SetCheck(CheckBox(m_form, checkBox), true)) << "check box " << checkBox; }
    // The Run button, or the action button showing `text`.
    void Press(const std::string& text = "Run")
    {
        HWND button = ButtonNamed(m_form, text);
        EXPECT_NE(button, nullptr) << "no button " << text;
        PostClicked(button);
    }

    // Waits for the console to finish, reads what it shows and closes it.
    std::string ConsoleOutput(std::string* caption = nullptr)
    {
        HWND console = m_app.WaitForWindowWhere([](const WindowInfo& window) {
            return StartsWith(window.title, "Executing: ") && EndsWith(window.title, " (Completed)");
        });
        if (console == nullptr)
            return "(no completed console window)";
        if (caption != nullptr)
            *caption = TextOf(console);
        std::string text = WithLineFeeds(TextOf(OutputOf(console)));
        m_app.Close(console);
        m_app.WaitForWindowGone(console);
        return text;
    }

    void CloseForm()
    {
        m_app.Close(m_form);
        EXPECT_TRUE(m_app.WaitForExit());
    }

private:
    TempFolder m_dir;
    TavrelProcess m_app;
    HWND m_form = nullptr;
};

}  // namespace

// The complete example of the file format, its command replaced by the test
// child, with a value in every kind of control. Tab visits the required
// controls first: the edit boxes are the input file's, the output's, the
// typed radio's and the text field's; the check boxes -v and '/mode quick'.
TEST(RunFlowEndToEnd, WorkedExampleWithEveryKindOfControl)
{
    OpenedForm form;
    ASSERT_TRUE(form.Open(ArgsPrinter(), WorkedExampleControlLines()));

    std::string input = form.Dir().Write("input.txt", "data");
    std::string output = form.Dir().PathOf("out archive.zip");
    form.Type(0, input);
    form.Type(1, output);
    form.Tick(0);
    form.Type(2, "9");  // typing selects the typed radio
    form.Type(3, "x y");
    HWND driveList = DropDown(form.Form(), 0);
    ASSERT_TRUE(SelectComboItem(driveList, 1));
    std::string drive = TextOf(driveList);
    form.Tick(1);

    form.Press("List contents");  // the Run button is hidden on a form with action buttons
    std::string shown = form.ConsoleOutput();

    std::string expected = "arg1=" + std::to_string(input.size()) + ":" + input + "\n" +
                           "arg2=2:-o\n" +
                           "arg3=" + std::to_string(output.size()) + ":" + output + "\n" +
                           "arg4=2:-v\n" + "arg5=7:--level\n" + "arg6=1:9\n" + "arg7=3:x y\n" +
                           "arg8=2:-d\n" + "arg9=" + std::to_string(drive.size()) + ":" + drive + "\n" +
                           "arg10=5:/mode\n" + "arg11=5:quick\n" + "arg12=6:--list\n" + "args=12\n";
    EXPECT_NE(shown.find(expected), std::string::npos) << shown;
    EXPECT_TRUE(form.App().WaitForOutput("ACTION BUTTON CLICKED: ID=7009\n"));
    EXPECT_TRUE(form.App().WaitForOutput("Button: List contents (flag: --list)\n"));
    EXPECT_TRUE(form.App().WaitForOutput("  Radio group 1 has value: 9\n"));
    EXPECT_TRUE(form.App().WaitForOutput("FakeConsoleDlg::DoModal (Action) returned 2\n"));
    form.CloseForm();
}

TEST(RunFlowEndToEnd, CopytoolExample)
{
    OpenedForm form;
    // Settings beside the program decide whether Run shows; this form has
    // no action button, so it does.
    ASSERT_TRUE(form.Open(ArgsPrinter(), {
                                             "{{dir}} \"\" Source",
                                             "{{dir}} \"\" Target",
                                             "/MIR Mirror",
                                             "{{number}} /R: Retries",
                                             "/V Verbose",
                                         }));
    std::string source = form.Dir().PathOf("My Files");
    std::string target = form.Dir().PathOf("out");
    ASSERT_TRUE(CreateDirectoryA(source.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(target.c_str(), nullptr));
    // Fields come in file order.
    form.Type(0, source);
    form.Type(1, target);
    form.Tick(0);
    form.Type(2, "3");

    form.Press();
    std::string caption;
    std::string shown = form.ConsoleOutput(&caption);

    std::string line = ArgsPrinter() + " \"" + source + "\" \"" + target + "\" /MIR /R: 3";
    EXPECT_TRUE(form.App().WaitForOutput("Final command: " + line + "\n"));
    EXPECT_EQ(caption, "Executing: " + line + " (Completed)");
    EXPECT_NE(shown.find("arg1=" + std::to_string(source.size()) + ":" + source + "\narg2=" +
                         std::to_string(target.size()) + ":" + target + "\narg3=4:/MIR\narg4=3:/R:\narg5=1:3\nargs=5\n"),
              std::string::npos)
        << shown;
    EXPECT_NE(shown.find("***** Process exited with code 0 *****"), std::string::npos);
    EXPECT_TRUE(form.App().WaitForOutput("FakeConsoleDlg::DoModal returned 2\n"));
    form.CloseForm();
}

TEST(RunFlowEndToEnd, QuotingSurvivesTheChildsParsing)
{
    OpenedForm form;
    ASSERT_TRUE(form.Open(ArgsPrinter(), {
                                             "{{dir}} \"\" Root",
                                             "-o {{newdir}} Output",
                                             "-m {{text}} Message",
                                             "{{text}} \"\" Quoted word",
                                             "-t {{text}} Pasted",
                                         }));
    form.Type(0, "C:\\");
    std::string output = form.Dir().PathOf("new out") + "\\";
    form.Type(1, output);
    form.Type(2, "say \"hi\" now");
    form.Type(3, "a\"b");
    form.Type(4, "tab\there");

    form.Press();
    std::string shown = form.ConsoleOutput();

    std::string expected = "arg1=3:C:\\\narg2=2:-o\narg3=" + std::to_string(output.size()) + ":" + output +
                           "\narg4=2:-m\narg5=12:say \"hi\" now\narg6=3:a\"b\narg7=2:-t\narg8=8:tab\there\nargs=8\n";
    EXPECT_NE(shown.find(expected), std::string::npos) << shown;
    form.CloseForm();
}

TEST(RunFlowEndToEnd, BatchFormScriptEchoesItsArguments)
{
    OpenedForm form;
    ASSERT_TRUE(form.Open("mybatch", {"{{dir}} \"\" Folder", "-n {{text}} Name", "{{batch cmd}}"},
                          "@echo off\r\necho folder=[%~1]\r\necho flag=[%2] name=[%~3]\r\n"));
    form.Type(0, "C:\\");
    form.Type(1, "two words");

    form.Press();
    std::string shown = form.ConsoleOutput();

    EXPECT_NE(shown.find("folder=[C:\\]\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("flag=[-n] name=[two words]\n"), std::string::npos) << shown;
    EXPECT_TRUE(form.App().WaitForOutput("Argument list: \"C:\\\" -n \"two words\"\n"));
    EXPECT_TRUE(form.App().WaitForOutput("EXECUTING EMBEDDED BATCH COMMAND:\ncmd /c \"\""));
    std::string out = form.App().Output();
    size_t at = out.find("Creating temp execution batch file: ");
    ASSERT_NE(at, std::string::npos);
    size_t start = at + std::string("Creating temp execution batch file: ").size();
    std::string script = out.substr(start, out.find('\n', start) - start);
    EXPECT_NE(script.find("\\tavrel-exec-"), std::string::npos) << script;
    // The run has ended and its console is closed: its script is gone.
    EXPECT_TRUE(form.App().WaitForOutput("Temp execution batch file deleted: " + script + "\n"));
    EXPECT_FALSE(FileExists(script)) << "the run left its script behind";
    form.CloseForm();
}

TEST(RunFlowEndToEnd, OverwriteRefusedThenAccepted)
{
    OpenedForm form;
    ASSERT_TRUE(form.Open(ArgsPrinter(), {"-o {{newfile}} Output"}));
    std::string existing = form.Dir().Write("exists.txt", "keep");
    form.Type(0, existing);

    form.Press();
    MessageBoxSeen refused = form.App().AnswerMessageBox("File Exists", IDNO);
    ASSERT_TRUE(refused.found);
    EXPECT_EQ(refused.text, "Warning: Path already exists and may be overwritten:\n" + existing + "\n\nContinue anyway?");
    EXPECT_TRUE(form.App().WaitForOutput("Validation failed - aborting\n"));
    EXPECT_EQ(form.App().Output().find("COMMAND TO EXECUTE"), std::string::npos);

    form.Press();
    ASSERT_TRUE(form.App().AnswerMessageBox("File Exists", IDYES).found);
    std::string shown = form.ConsoleOutput();
    EXPECT_NE(shown.find("arg1=2:-o\narg2=" + std::to_string(existing.size()) + ":" + existing + "\nargs=2\n"),
              std::string::npos)
        << shown;
    form.CloseForm();
}

// The box comes before the console, which then tells of the failure and
// stays open.
TEST(RunFlowEndToEnd, ACommandThatCannotStartShowsItsBoxThenTheConsole)
{
    const std::string command = "tavrel-no-such-program-4711.exe";
    OpenedForm form;
    ASSERT_TRUE(form.Open(command, {"-v Verbose"}));
    form.Press();
    MessageBoxSeen box = form.App().AnswerMessageBox("tavrel", IDOK);
    ASSERT_TRUE(box.found);
    EXPECT_EQ("Failed to execute command\nError 2: The system cannot find the file specified.\n\n"
              "The command may not exist or is not in your PATH.",
              box.text);
    HWND console = form.App().WaitForWindow("Executing: " + command);
    ASSERT_NE(nullptr, console);
    EXPECT_EQ("ERROR: Failed to start command execution.\n", WithLineFeeds(TextOf(OutputOf(console))));
    form.App().Close(console);
    EXPECT_TRUE(form.App().WaitForOutput("FakeConsoleDlg::DoModal returned 2\n"));
    const std::string output = form.App().Output();
    EXPECT_NE(std::string::npos, output.find("ERROR: Failed to execute command\nError 2: "));
    form.CloseForm();
}

TEST(RunFlowEndToEnd, ShiftPreviewOfRunAndOfAnActionButton)
{
    OpenedForm form;
    ASSERT_TRUE(form.Open("tool", {
                                      "{{required text}} Name",
                                      "{{button --list}} List",
                                  }));
    form.Type(0, "me");
    // Shift goes down afresh for each press: when a box closes, the focus
    // change lets the display's real keyboard state (no Shift) win again.
    {
        ShiftHeld shift;
        form.Press();
        MessageBoxSeen run = form.App().AnswerMessageBox("tavrel", IDOK);
        ASSERT_TRUE(run.found);
        EXPECT_EQ(run.text, "Command that would be executed:\n\ntool me");
        EXPECT_TRUE(form.App().WaitForWindowGone(run.hwnd));
    }
    // Let the focus settle back on the form before Shift goes down again.
    for (int wait = 0; wait < 100 && GetForegroundWindow() != form.Form(); ++wait)
        Sleep(20);
    Sleep(300);
    {
        ShiftHeld shift;
        form.Press("List");
        MessageBoxSeen action = form.App().AnswerMessageBox("tavrel", IDOK);
        ASSERT_TRUE(action.found);
        EXPECT_EQ(action.text, "Command that would be executed:\n\ntool me --list");
    }
    EXPECT_TRUE(form.App().WaitForOutput("Shift key detected - showing command preview\n"));
    EXPECT_EQ(form.App().Output().find("=== ValidateInputs ==="), std::string::npos);
    EXPECT_EQ(form.App().Output().find("Launching FakeConsoleDlg"), std::string::npos);
    form.CloseForm();
}

// The program remembers a form's values once a run has started and puts
// them back when the same form file opens again.
TEST(RunFlowEndToEnd, ValuesOfAStartedRunComeBackWhenTheFormOpensAgain)
{
    TempFolder dir;
    const std::string path = dir.Write("remembered.gui", FormFile(ArgsPrinter(), {"-t {{text}} Text", "/v Verbose"}));
    const std::string awkward = "  \"a b\" %PATH% ;=[ \xE9  ";
    {
        TavrelProcess app;
        ASSERT_TRUE(app.Start("\"" + path + "\""));
        HWND form = app.WaitForWindow(ArgsPrinter());
        ASSERT_NE(form, nullptr);
        ASSERT_TRUE(SetText(EditBox(form, 0), awkward));
        ASSERT_TRUE(SetCheck(CheckBox(form, 0), true));
        PostClicked(RunButton(form));
        HWND console = app.WaitForWindowWhere([](const WindowInfo& window) {
            return StartsWith(window.title, "Executing: ") && EndsWith(window.title, " (Completed)");
        });
        ASSERT_NE(console, nullptr);
        app.Close(console);
        app.WaitForWindowGone(console);
        app.Close(form);
        ASSERT_TRUE(app.WaitForExit());
    }
    TavrelProcess app;
    ASSERT_TRUE(app.Start("\"" + path + "\""));
    HWND form = app.WaitForWindow(ArgsPrinter());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(TextOf(EditBox(form, 0)), awkward);
    EXPECT_EQ(SendMessageA(CheckBox(form, 0), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(app.WaitForOutput("Remembered values restored for 2 of 2 controls\n"));
    app.Close(form);
    EXPECT_TRUE(app.WaitForExit());
}

// Attribute lines at work: a default (with an environment reference)
// reaches the command line, a list of choices and one filled by a script
// are picked from, a pattern refuses a value (the field gets the focus) and
// then accepts it, and help shows as a tooltip on keyboard focus. Opened
// again, remembered values win over defaults, and a remembered choice the
// list no longer offers is dropped.
TEST(RunFlowEndToEnd, AttributeLines)
{
    ASSERT_TRUE(SetEnvironmentVariableA("TAVREL_E2E_NAME", "Ada"));
    auto lines = [](const char* shellChoices) {
        return FormFile(ArgsPrinter(), {"-n {{text}} Name", "{{default}} %TAVREL_E2E_NAME%", "{{help}} Who runs it",
                                        "-c {{number}} Count", "{{pattern Give a whole number.}} [0-9]+",
                                        "-m {{text}} Mode", "{{choices}} fast|best", "{{default}} fast",
                                        "-s {{text}} Shell", std::string("{{choices-from}} ") + shellChoices});
    };
    TempFolder dir;
    const std::string path = dir.Write("attributes.gui", lines("echo one& echo two"));
    {
        TavrelProcess app;
        ASSERT_TRUE(app.Start("\"" + path + "\""));
        HWND form = app.WaitForWindow(ArgsPrinter());
        ASSERT_NE(form, nullptr);
        HWND mode = DropDown(form, 0);
        HWND shell = DropDown(form, 1);
        EXPECT_EQ(TextOf(mode), "fast");
        ASSERT_EQ(SendMessageA(shell, CB_GETCOUNT, 0, 0), 3) << "the empty entry, then the script's two lines";

        // Tab from the Run button, which has the focus, to the name.
        PostMessageA(RunButton(form), WM_KEYDOWN, VK_TAB, 0);
        EXPECT_TRUE(WaitUntil(
            [&] {
                for (const WindowInfo& window : app.Windows())
                    if (window.className == "tooltips_class32" && TextOf(window.hwnd) == "Who runs it")
                        return true;
                return false;
            },
            5000))
            << "no tooltip with the name's help";

        ASSERT_TRUE(SetText(EditBox(form, 1), "x1"));
        ASSERT_TRUE(SelectComboItem(mode, 2));
        ASSERT_TRUE(SelectComboItem(shell, 2));
        PostClicked(RunButton(form));
        MessageBoxSeen refused = app.AnswerMessageBox("Validation Warning", IDNO);
        EXPECT_EQ(refused.text, "Give a whole number.\n\nRun anyway?");
        GUITHREADINFO focus = {};
        focus.cbSize = sizeof(focus);
        EXPECT_TRUE(WaitUntil(
            [&] {
                return GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &focus) &&
                       focus.hwndFocus == EditBox(form, 1);
            },
            5000))
            << "the refused field has the focus";

        ASSERT_TRUE(SetText(EditBox(form, 1), "12"));
        PostClicked(RunButton(form));
        HWND console = app.WaitForWindowWhere([](const WindowInfo& window) {
            return StartsWith(window.title, "Executing: ") && EndsWith(window.title, " (Completed)");
        });
        ASSERT_NE(console, nullptr);
        std::string shown = WithLineFeeds(TextOf(OutputOf(console)));
        EXPECT_NE(shown.find("arg1=2:-n\narg2=3:Ada\narg3=2:-c\narg4=2:12\narg5=2:-m\narg6=4:best\narg7=2:-s\n"
                             "arg8=3:two\nargs=8\n"),
                  std::string::npos)
            << shown;
        app.Close(console);
        app.WaitForWindowGone(console);
        app.Close(form);
        ASSERT_TRUE(app.WaitForExit());
    }

    dir.Write("attributes.gui", lines("echo one& echo three"));
    TavrelProcess app;
    ASSERT_TRUE(app.Start("\"" + path + "\""));
    HWND form = app.WaitForWindow(ArgsPrinter());
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(TextOf(DropDown(form, 0)), "best");
    EXPECT_EQ(TextOf(DropDown(form, 1)), "");
    EXPECT_EQ(SendMessageA(DropDown(form, 1), CB_GETCURSEL, 0, 0), 0);
    app.Close(form);
    EXPECT_TRUE(app.WaitForExit());
}

namespace {

// A list view of another process, read and driven through memory lent in
// that process (its items cannot be passed across otherwise).
class RemoteListView {
public:
    explicit RemoteListView(HWND list) : m_list(list)
    {
        DWORD processId = 0;
        GetWindowThreadProcessId(list, &processId);
        m_process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
        if (m_process != nullptr)
            m_memory = static_cast<char*>(VirtualAllocEx(m_process, nullptr, kSize, MEM_COMMIT, PAGE_READWRITE));
    }
    ~RemoteListView()
    {
        if (m_memory != nullptr)
            VirtualFreeEx(m_process, m_memory, 0, MEM_RELEASE);
        if (m_process != nullptr)
            CloseHandle(m_process);
    }

    int Rows() const
    {
        DWORD_PTR count = 0;
        return SendBounded(m_list, LVM_GETITEMCOUNT, 0, 0, &count) ? static_cast<int>(count) : -1;
    }
    std::string Cell(int row, int column) const
    {
        LVITEMA item = {};
        item.iSubItem = column;
        item.pszText = m_memory + sizeof item;
        item.cchTextMax = kSize - sizeof item;
        std::vector<char> text(kSize - sizeof item, '\0');
        if (m_memory == nullptr || !WriteProcessMemory(m_process, m_memory, &item, sizeof item, nullptr) ||
            !SendBounded(m_list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(m_memory)) ||
            !ReadProcessMemory(m_process, m_memory + sizeof item, text.data(), text.size() - 1, nullptr))
            return "(unreadable)";
        return text.data();
    }
    bool Select(int row) const
    {
        LVITEMA item = {};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        return m_memory != nullptr && WriteProcessMemory(m_process, m_memory, &item, sizeof item, nullptr) &&
               SendBounded(m_list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(m_memory));
    }

private:
    static constexpr size_t kSize = 4096;
    HWND m_list;
    HANDLE m_process = nullptr;
    char* m_memory = nullptr;
};

constexpr UINT kRunHistoryCommand = 0x0040;

}  // namespace

// Two runs ending differently; the history lists both, newest first, and
// runs the older one again as it was started.
TEST(RunFlowEndToEnd, HistoryListsRunsAndRunsAnOlderOneAgain)
{
    OpenedForm form;
    const std::string child = "\"" + TestBinFolder() + "tavrel_testchild.exe\" exit";
    ASSERT_TRUE(form.Open(child, {"{{required number}} Exit code"}));
    form.Type(0, "3");
    form.Press();
    EXPECT_NE(form.ConsoleOutput().find("Process exited with code 3"), std::string::npos);
    form.Type(0, "0");
    form.Press();
    EXPECT_NE(form.ConsoleOutput().find("Process exited with code 0"), std::string::npos);

    PostMessageA(form.Form(), WM_SYSCOMMAND, kRunHistoryCommand, 0);
    HWND history = form.App().WaitForWindow("Run history");
    ASSERT_NE(history, nullptr);
    RemoteListView list(FindChild(history, "SysListView32"));
    ASSERT_EQ(list.Rows(), 2);
    EXPECT_EQ(list.Cell(0, 2), "0");
    EXPECT_EQ(list.Cell(0, 3), child + " 0");
    EXPECT_EQ(list.Cell(1, 2), "3");
    EXPECT_EQ(list.Cell(1, 3), child + " 3");
    EXPECT_EQ(list.Cell(1, 0).size(), std::string("2026-01-01 00:00:00").size()) << list.Cell(1, 0);
    EXPECT_NE(list.Cell(1, 1).find(" s"), std::string::npos) << list.Cell(1, 1);

    ASSERT_TRUE(list.Select(1));
    PostClicked(ButtonNamed(history, "&Run again"));
    std::string caption;
    const std::string shown = form.ConsoleOutput(&caption);
    EXPECT_EQ(caption, "Executing: " + child + " 3 (Completed)");
    EXPECT_NE(shown.find("Process exited with code 3"), std::string::npos) << shown;
    EXPECT_EQ(TextOf(EditBox(form.Form(), 0)), "3");  // the form holds that run's values
    form.CloseForm();
}

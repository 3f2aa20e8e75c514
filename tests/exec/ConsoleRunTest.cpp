// The console window running real commands in its own modal loop, driven
// from a helper thread the way a user would: reading what it shows, typing,
// pressing Escape, clicking the close box.

#include <gtest/gtest.h>

#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "common/Diag.h"
#include "exec/ConsoleLineDiscipline.h"
#include "exec/ConsoleTestSupport.h"
#include "exec/FakeConsoleDlg.h"
#include "exec/ProcessRunner.h"
#include "exec/StartErrorBox.h"
#include "exec/TempBatchFile.h"
#include "support/FloodOutput.h"
#include "framework/FileDialogs.h"
#include "framework/WinApp.h"
#include "support/WindowQueries.h"

namespace {

const char kCompleted[] = " (Completed)";
constexpr UINT kSaveAsCommand = 0x0110;

std::string WithCrLf(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

std::string TempFilePath(const std::string& name)
{
    char folder[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + std::to_string(::GetCurrentProcessId()) + "-" + name;
}

std::string ReadFileBytes(const std::string& path)
{
    std::string bytes;
    if (FILE* file = fopen(path.c_str(), "rb")) {
        char buffer[65536];
        size_t got = 0;
        while ((got = fread(buffer, 1, sizeof buffer, file)) > 0)
            bytes.append(buffer, got);
        fclose(file);
    }
    return bytes;
}

std::string Banner(int code)
{
    return "\n\n***** Process exited with code " + std::to_string(code) + " *****\n";
}

bool EndsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

struct BoxRecord {
    std::string text;
    std::string caption;
    UINT type = 0;
};

// Answers every message box with `answer` and records what was asked.
class BoxAnswer {
public:
    explicit BoxAnswer(int answer)
    {
        SetMessageBoxHook([this, answer](HWND, const std::string& text, const std::string& caption, UINT type) {
            boxes.push_back({ text, caption, type });
            return answer;
        });
    }
    ~BoxAnswer() { SetMessageBoxHook(nullptr); }
    std::vector<BoxRecord> boxes;
};

class ConsoleRun : public ::testing::Test {
protected:
    void TearDown() override
    {
        // Nothing a test started may outlive it.
        if (runner.IsRunning())
            runner.Terminate();
    }

    FakeConsoleDlg& ConsoleFor(const std::string& command)
    {
        console.command = command;
        console.runner = &runner;
        return console;
    }

    ProcessRunner runner;
    OwnedWindow<FakeConsoleDlg> console;
};

TEST_F(ConsoleRun, ShowsTheOutputThenTheExitBannerAndMarksTheCaption)
{
    const std::string command = TestChildCommand("lines 40 exit 5");
    std::string shown, caption;
    const INT_PTR result = RunConsole(ConsoleFor(command), [&](ConsoleRemote& remote) {
        remote.WaitForCaptionEnding(kCompleted);
        shown = remote.Text();
        caption = remote.Caption();
        remote.PressKey(VK_ESCAPE);  // the child has ended: Escape closes
        remote.Pause(300);
    });

    std::string expected;
    for (int i = 1; i <= 40; ++i)
        expected += "line " + std::to_string(i) + "\n";
    EXPECT_EQ(expected + Banner(5), shown);
    EXPECT_EQ("Executing: " + command + kCompleted, caption);
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_EQ(0u, console.timerId);
}

TEST_F(ConsoleRun, ProgressLineOfABatchScriptEndsShowingItsLastUpdate)
{
    // Each update starts with a carriage return and the last one ends the
    // line; the updates come from separate writes with pauses between.
    TempBatchFile script("@echo off\r\n"
                         "echo Copying files\r\n" +
                         TestChildCommand("out 0d31302520 sleep 60 out 0d35302520 sleep 60 out 0d3130302520 "
                                          "sleep 60 out 0d0a") +
                         "\r\n"
                         "echo done\r\n"
                         "exit /b 3\r\n");
    std::string shown;
    RunConsole(ConsoleFor(script.Command()), [&](ConsoleRemote& remote) {
        remote.WaitForCaptionEnding(kCompleted, 10000);
        shown = remote.Text();
    });
    EXPECT_EQ("Copying files\n100% \ndone\n" + Banner(3), shown);
}

TEST_F(ConsoleRun, OutputStillInThePipeWhenTheChildEndsIsAllShownBeforeTheBanner)
{
    std::string shown;
    RunConsole(ConsoleFor(TestChildCommand("bytes 20000")), [&](ConsoleRemote& remote) {
        remote.WaitForCaptionEnding(kCompleted, 10000);
        shown = remote.Text();
    });
    ASSERT_TRUE(EndsWith(shown, Banner(0))) << shown.substr(shown.size() > 200 ? shown.size() - 200 : 0);
    // One line that long is shown continued on the next lines.
    std::string output = shown.substr(0, shown.size() - Banner(0).size());
    for (size_t at = kMaxShownLineLength; at < output.size(); at += kMaxShownLineLength) {
        ASSERT_EQ('\n', output[at]) << "at " << at;
        output.erase(at, 1);
    }
    ASSERT_EQ(20000u, output.size());
    for (size_t i = 0; i < output.size(); ++i)
        ASSERT_EQ(static_cast<char>('A' + i % 26), output[i]) << "byte " << i;
}

TEST_F(ConsoleRun, NulBytesWrittenByTheChildAreLeftOut)
{
    std::string shown;
    RunConsole(ConsoleFor(TestChildCommand("out 6100620063000d0a")), [&](ConsoleRemote& remote) {
        remote.WaitForCaptionEnding(kCompleted);
        shown = remote.Text();
    });
    EXPECT_EQ("abc\n" + Banner(0), shown);
}

// As in a console: the line is echoed and held until Enter, Backspace
// takes back a character and its echo; after the end nothing is sent or
// shown, and the exit is traced once.
TEST_F(ConsoleRun, TypedLineIsEditedEchoedAndSentAtEnterAndNothingAfterTheEnd)
{
    DiagCapture diag;
    std::string shownAfterBackspaces, shownAtEnd, shownAfterLateTyping;
    RunConsole(ConsoleFor(TestChildCommand("echo 1")), [&](ConsoleRemote& remote) {
        // Backspace and Enter as the characters they make: a posted key
        // would be translated after the characters already waiting.
        remote.Type("yes\b\b\bno\t");
        remote.WaitForText("no");
        shownAfterBackspaces = remote.Text();
        remote.Type("\r");
        remote.WaitForCaptionEnding(kCompleted);
        shownAtEnd = remote.Text();
        remote.Type("late");
        remote.PressKey(VK_BACK);
        remote.PressKey(VK_RETURN);
        remote.PressKey(VK_DELETE);
        remote.Pause(200);
        shownAfterLateTyping = remote.Text();
    });
    EXPECT_EQ("no", shownAfterBackspaces) << "the tab is sent, not echoed";
    EXPECT_EQ("no\necho:no\t\n" + Banner(0), shownAtEnd);
    EXPECT_EQ(shownAtEnd, shownAfterLateTyping) << "typing after the end does nothing, editing keys included";
    const std::string trace = diag.Text();
    EXPECT_NE(std::string::npos, trace.find("Writing to stdin: no\t\r\n\n"));
    EXPECT_EQ(trace.find("Writing to stdin:"), trace.rfind("Writing to stdin:")) << "one write: the line";
    EXPECT_EQ(trace.find("Process exited with code"), trace.rfind("Process exited with code")) << trace;
}

TEST_F(ConsoleRun, EscapeAnsweredYesEndsTheChildAndTheWindowShowsCodeOne)
{
    BoxAnswer yes(IDYES);
    std::string shown;
    bool stillOpenAfterAnswer = false;
    const INT_PTR result = RunConsole(ConsoleFor(TestChildCommand("out 72656164790d0a sleep 20000")),
                                      [&](ConsoleRemote& remote) {
                                          remote.WaitForText("ready");
                                          remote.PressKey(VK_ESCAPE);
                                          remote.WaitForCaptionEnding(kCompleted);
                                          stillOpenAfterAnswer = remote.IsOpen();
                                          shown = remote.Text();
                                          remote.PressKey(VK_ESCAPE);
                                          remote.Pause(300);
                                      });
    ASSERT_EQ(1u, yes.boxes.size());
    EXPECT_EQ("Terminate the running process?", yes.boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONQUESTION), yes.boxes[0].type);
    EXPECT_TRUE(stillOpenAfterAnswer);
    EXPECT_EQ("ready\n" + Banner(1), shown);
    EXPECT_EQ(IDCANCEL, result) << "the second Escape closed the finished window";
}

// More than the input pipe holds, typed while the child is busy: the window
// stays responsive and the rest reaches the child at later ticks. (Bytes
// from 128 up are not echoed, which keeps the window's own work small.)
TEST_F(ConsoleRun, TypingAheadOfABusyChildArrivesWhole)
{
    DiagCapture quiet;
    const std::string first(3000, '\xE9'), second(3000, '\xEA');
    // Typed as the keyboard's code page has them, they reach the child (and
    // come back) in the OEM code page.
    const std::string firstInOem(3000, '\x82'), secondInOem(3000, '\x88');
    std::string shown;
    RunConsole(ConsoleFor(TestChildCommand("sleep 3000 echo 2")), [&](ConsoleRemote& remote) {
        // Enter as the character it makes: a posted key would be translated
        // after the characters already waiting.
        remote.Type(first + "\r" + second + "\r");
        // Six thousand characters, each echoed as typed: a loaded machine
        // takes its time, and only the end result counts here.
        EXPECT_TRUE(remote.WaitForCaptionEnding(kCompleted, 30000));
        shown = remote.Text();
    });
    // Lines this long show continued on the next line.
    shown.erase(std::remove(shown.begin(), shown.end(), '\n'), shown.end());
    EXPECT_NE(std::string::npos, shown.find("echo:" + firstInOem + "echo:" + secondInOem)) << shown.size();
}

TEST_F(ConsoleRun, EscapeAnsweredNoKeepsTheChildRunningAndItsOutputShowing)
{
    // The real box: closing it hands the focus back to the console.
    bool answered = false;
    std::string shown;
    RunConsole(ConsoleFor(TestChildCommand("out 72656164790d0a sleep 1000 out 6c617465720d0a sleep 20000")),
               [&](ConsoleRemote& remote) {
                   EXPECT_TRUE(remote.WaitForText("ready")) << remote.Text();
                   remote.PressKey(VK_ESCAPE);
                   answered = remote.AnswerMessageBox(IDNO);
                   EXPECT_TRUE(remote.WaitForText("later")) << remote.Text();
                   shown = remote.Text();
                   remote.ClickCloseBox();
                   remote.Pause(300);
               });
    EXPECT_TRUE(answered);
    EXPECT_EQ("ready\nlater\n", shown);
    EXPECT_TRUE(runner.IsRunning());
}

TEST_F(ConsoleRun, CloseBoxClosesAtOnceAndLeavesTheChildRunning)
{
    BoxAnswer yes(IDYES);
    const INT_PTR result = RunConsole(ConsoleFor(TestChildCommand("out 72656164790d0a sleep 20000")),
                                      [&](ConsoleRemote& remote) {
                                          remote.WaitForText("ready");
                                          remote.ClickCloseBox();
                                          remote.Pause(300);
                                      });
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_TRUE(yes.boxes.empty()) << "no question";
    EXPECT_TRUE(runner.IsRunning());
}

TEST_F(ConsoleRun, PollingSlowsDownWhileOutputKeepsComingAndSpeedsUpWhenItStops)
{
    DiagCapture diag;
    // A tick takes everything waiting, so output must keep coming for a
    // while: bursts closer together than the shortest period, for well
    // over six ticks.
    std::string bursts;
    for (int i = 0; i < 40; ++i)
        bursts += "lines 20 sleep 12 ";
    RunConsole(ConsoleFor(TestChildCommand(bursts + "sleep 800 lines 1")), [&](ConsoleRemote& remote) {
        remote.WaitForCaptionEnding(kCompleted, 10000);
    });
    const std::string& lines = diag.Text();
    const size_t enabled = lines.find("Output throttling enabled (100ms polling)\n");
    const size_t disabled = lines.find("Output throttling disabled (28ms polling)\n");
    ASSERT_NE(std::string::npos, enabled);
    ASSERT_NE(std::string::npos, disabled);
    EXPECT_LT(enabled, disabled);
    EXPECT_FALSE(console.throttled);
}

// A flood written in pieces cut anywhere and one line per write, with
// progress lines and a line longer than the view may hold, under a lowered
// limit: the saved output holds all of it in order, the view ends with the
// end, and a line typed meanwhile (a tab, not echoed; Enter echoes a line
// end wherever the output stood) still reaches the child.
TEST_F(ConsoleRun, AFloodIsSavedCompleteAndInOrderWhileATypedLineStillReachesTheChild)
{
    DiagCapture quiet;
    const FloodOutput pieces = MakeFloodOutput(1000000), lines = MakeFloodOutput(1500000);
    const std::string longLine(300000, 'L');
    std::string expected;
    for (int i = 1; i <= 30000; ++i)
        expected += "line " + std::to_string(i) + "\n";
    expected += pieces.shown + lines.shown + longLine + "\nkey=09\n" + Banner(0);
    expected = WithCrLf(expected);

    const std::string saved = TempFilePath("flood-saved.txt");
    SetSaveDialogHook([&](std::string& path) {
        path = saved;
        return true;
    });
    console.textLimit = 200000;
    std::string shown;
    bool typedDuringFlood = false;
    RunConsole(ConsoleFor(TestChildCommand("lines 30000 flood 1000000 floodlines 1500000 longline 300000 key")),
               [&](ConsoleRemote& remote) {
                   EXPECT_TRUE(remote.WaitForText("line 1\n"));
                   remote.Type("\t\r");
                   typedDuringFlood = !EndsWith(remote.Caption(), kCompleted);
                   EXPECT_TRUE(remote.WaitForCaptionEnding(kCompleted, 60000));
                   shown = remote.Text();
                   ::SendMessageA(console.m_hWnd, WM_SYSCOMMAND, kSaveAsCommand, 0);
               });
    SetSaveDialogHook(nullptr);
    EXPECT_TRUE(typedDuringFlood);
    std::string bytes = ReadFileBytes(saved);
    ::DeleteFileA(saved.c_str());
    // The echoed line end is the only addition.
    size_t differs = 0;
    while (differs < bytes.size() && differs < expected.size() && bytes[differs] == expected[differs])
        ++differs;
    ASSERT_EQ(expected.size() + 2, bytes.size());
    ASSERT_EQ(0, bytes.compare(differs, 2, "\r\n")) << differs;
    bytes.erase(differs, 2);
    EXPECT_TRUE(bytes == expected) << "the saved output differs from the output";
    EXPECT_LE(shown.size(), 200000u);
    EXPECT_TRUE(EndsWith(shown, "LLLL\nkey=09\n" + Banner(0))) << shown.substr(shown.size() - 100);
}

// With a lowered limit: the newest output stays, the oldest makes room
// behind one marker line.
TEST_F(ConsoleRun, PastTheTextLimitTheOldestOutputMakesRoomForTheNewest)
{
    DiagCapture quiet;
    console.textLimit = 20000;
    std::string shown;
    RunConsole(ConsoleFor(TestChildCommand("lines 6000")), [&](ConsoleRemote& remote) {
        EXPECT_TRUE(remote.WaitForCaptionEnding(kCompleted, 20000));
        shown = remote.Text();
    });
    const std::string marker = "***** Older output removed: the console keeps the newest output *****\n";
    ASSERT_EQ(0u, shown.find(marker)) << shown.substr(0, 200);
    EXPECT_EQ(std::string::npos, shown.find(marker, 1)) << "one marker";
    EXPECT_LE(shown.size(), 20000u);
    // What follows the marker is the newest output, whole lines in order.
    std::string expected = Banner(0);
    for (int i = 6000; expected.size() < shown.size() - marker.size(); --i)
        expected = "line " + std::to_string(i) + "\n" + expected;
    EXPECT_EQ(expected, shown.substr(marker.size()));
}

// Once the output control is replaced, activation may give the focus to the
// window itself; the output must keep coming rather than be held back behind
// a selection of everything.
TEST_F(ConsoleRun, FocusGivenToTheWindowItselfKeepsTheOutputComing)
{
    std::string shown;
    RunConsole(ConsoleFor(TestChildCommand("out 72656164790d0a sleep 500 lines 2")), [&](ConsoleRemote& remote) {
        ASSERT_TRUE(remote.WaitForText("ready"));
        remote.FocusTheWindowItself();
        remote.WaitForCaptionEnding(kCompleted);
        shown = remote.Text();
    });
    EXPECT_EQ("ready\nline 1\nline 2\n" + Banner(0), shown);
}

// A process the command started keeps writing after the command ended:
// its output follows the exit banner behind one marker line, and a process
// that never writes does not keep the window from closing.
TEST_F(ConsoleRun, OutputOfAProcessLeftRunningFollowsTheBannerAndTheWindowStillCloses)
{
    DiagCapture quiet;
    std::string shownAtBanner, shownLater;
    const INT_PTR result =
        RunConsole(ConsoleFor(TestChildCommand("out 66697273740d0a later 700 6c6174650d0a later 900 6c617465720d0a "
                                               "spawn 20000 exit 4")),
                   [&](ConsoleRemote& remote) {
                       EXPECT_TRUE(remote.WaitForCaptionEnding(kCompleted));
                       shownAtBanner = remote.Text();
                       EXPECT_TRUE(remote.WaitForText("later\n", 5000));
                       shownLater = remote.Text();
                       remote.PressKey(VK_ESCAPE);  // the command has ended: closes at once
                       remote.Pause(300);
                   });
    runner.Terminate();  // the silent one
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_EQ(std::string::npos, shownAtBanner.find("late\n")) << shownAtBanner;
    const size_t banner = shownLater.find(Banner(4));
    ASSERT_NE(std::string::npos, banner) << shownLater;
    EXPECT_EQ("***** Output from a process the command left running *****\nlate\nlater\n",
              shownLater.substr(banner + Banner(4).size()));
}

// UTF-8 output shows as UTF-8 even with characters cut between two writes;
// other output is in the OEM code page. A typed line (echoed) reaches the
// child in the encoding its output showed; a character the OEM code page
// lacks goes as UTF-8 rather than not at all.
TEST_F(ConsoleRun, OutputIsUtf8WhenItIsValidElseOemAndTypedLinesFollow)
{
    DiagCapture quiet;
    struct Run {
        const char* steps;
        const char* typed;  // in the keyboard's code page (1252)
        std::wstring shown;
    };
    const Run runs[] = {
        { "out 636166c3 sleep 150 out a920e282 sleep 150 out ac0d0a key", "\xE9",
          L"caf\x00E9 \x20AC\r\n\x00E9\r\nkey=C3\r\n" },
        { "out 8281200d0a key", "\xE9", L"\x00E9\x00FC \r\n\x00E9\r\nkey=82\r\n" },
        { "key", "\x80", L"\x20AC\r\nkey=E2\r\n" },
    };
    for (const Run& run : runs) {
        OwnedWindow<FakeConsoleDlg> window;
        window.runner = &runner;
        window.command = TestChildCommand(run.steps);
        std::wstring shown;
        RunConsole(window, [&](ConsoleRemote& remote) {
            if (std::string(run.steps) != "key")
                EXPECT_TRUE(remote.WaitForText("\n"));
            remote.Type(std::string(run.typed) + "\r");
            EXPECT_TRUE(remote.WaitForCaptionEnding(kCompleted));
            shown = remote.WideText();
        });
        EXPECT_EQ(0u, shown.find(run.shown)) << run.steps << " showed " << testing::PrintToString(shown);
    }
}

// Output held behind a selection shows as soon as the selection ends, also
// when the run ended meanwhile; what the view cannot hold goes the way
// trimmed output goes, while the saved output keeps everything.
TEST_F(ConsoleRun, OutputHeldBehindASelectionShowsWhenItEndsEvenAfterTheRun)
{
    DiagCapture quiet;
    console.textLimit = 20000;
    const std::string saved = TempFilePath("held-saved.txt");
    SetSaveDialogHook([&](std::string& path) {
        path = saved;
        return true;
    });
    std::string shownWhileSelected, shownAfter;
    RunConsole(ConsoleFor(TestChildCommand("lines 3 sleep 700 lines 6000")), [&](ConsoleRemote& remote) {
        ASSERT_TRUE(remote.WaitForText("line 3\n"));
        SendBounded(console.outputCtrl.m_hWnd, EM_SETSEL, 0, 4);
        EXPECT_TRUE(remote.WaitForCaptionEnding(kCompleted, 20000));
        shownWhileSelected = remote.Text();
        SendBounded(console.outputCtrl.m_hWnd, EM_SETSEL, 2, 2);
        EXPECT_TRUE(remote.WaitForText("***** Process exited", 5000));
        shownAfter = remote.Text();
        ::SendMessageA(console.m_hWnd, WM_SYSCOMMAND, kSaveAsCommand, 0);
    });
    SetSaveDialogHook(nullptr);
    EXPECT_EQ("line 1\nline 2\nline 3\n", shownWhileSelected);
    const std::string marker = "***** Older output removed: the console keeps the newest output *****\n";
    EXPECT_EQ(0u, shownAfter.find(marker)) << shownAfter.substr(0, 100);
    EXPECT_LE(shownAfter.size(), 20000u);
    EXPECT_TRUE(EndsWith(shownAfter, "line 6000\n" + Banner(0)));
    std::string all = "line 1\r\nline 2\r\nline 3\r\n";
    for (int i = 1; i <= 6000; ++i)
        all += "line " + std::to_string(i) + "\r\n";
    EXPECT_TRUE(ReadFileBytes(saved) == all + WithCrLf(Banner(0)));
    ::DeleteFileA(saved.c_str());
}

// Colour sequences show as colour and weight, other sequences not at all;
// the saved output is plain text.
TEST_F(ConsoleRun, ColourSequencesShowAsColourOthersAreDroppedAndSavedTextIsPlain)
{
    const std::string saved = TempFilePath("colour-saved.txt");
    SetSaveDialogHook([&](std::string& path) {
        path = saved;
        return true;
    });
    std::string shown;
    CHARFORMAT2W red = {}, plain = {};
    RunConsole(ConsoleFor(TestChildCommand("out 1b5b313b33316d5245441b5b306d20706c61696e1b5d303b74071b5b324b0d0a")),
               [&](ConsoleRemote& remote) {
                   EXPECT_TRUE(remote.WaitForCaptionEnding(kCompleted));
                   shown = remote.Text();
                   for (CHARFORMAT2W* format : { &red, &plain }) {
                       const long at = format == &red ? 1 : 6;
                       SendBounded(console.outputCtrl.m_hWnd, EM_SETSEL, at, at + 1);
                       format->cbSize = sizeof(*format);
                       ::SendMessageW(console.outputCtrl.m_hWnd, EM_GETCHARFORMAT, SCF_SELECTION, (LPARAM)format);
                   }
                   SendBounded(console.outputCtrl.m_hWnd, EM_SETSEL, -1, -1);
                   ::SendMessageA(console.m_hWnd, WM_SYSCOMMAND, kSaveAsCommand, 0);
               });
    SetSaveDialogHook(nullptr);
    EXPECT_EQ("RED plain\n" + Banner(0), shown);
    EXPECT_TRUE((red.dwEffects & CFE_BOLD) && !(red.dwEffects & CFE_AUTOCOLOR));
    EXPECT_EQ(RGB(0x80, 0, 0), red.crTextColor);
    EXPECT_FALSE(plain.dwEffects & CFE_BOLD);
    EXPECT_TRUE(plain.dwEffects & CFE_AUTOCOLOR);
    EXPECT_EQ("RED plain\r\n" + WithCrLf(Banner(0)), ReadFileBytes(saved));
    ::DeleteFileA(saved.c_str());
}

// A crash shows its code as a number with its name, after the usual banner.
TEST_F(ConsoleRun, ACrashedChildsCodeIsAlsoShownInHexadecimalWithItsName)
{
    std::string shown;
    RunConsole(ConsoleFor(TestChildCommand("exit 0xC0000005")), [&](ConsoleRemote& remote) {
        EXPECT_TRUE(remote.WaitForCaptionEnding(kCompleted));
        shown = remote.Text();
    });
    EXPECT_EQ(Banner(-1073741819) + "***** Exit code 0xC0000005: access violation *****\n", shown);
}

// Closed with its close box during a run, the console keeps reading (and
// dropping) the child's output: the child never waits in a write.
TEST_F(ConsoleRun, ClosedDuringARunTheChildStillWritesToItsEnd)
{
    RunConsole(ConsoleFor(TestChildCommand("lines 10 sleep 300 floodlines 3000000")), [&](ConsoleRemote& remote) {
        EXPECT_TRUE(remote.WaitForText("line 10\n"));
        remote.ClickCloseBox();
    });
    ASSERT_NE(nullptr, runner.ProcessHandle());
    EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(runner.ProcessHandle(), 30000));
}

TEST_F(ConsoleRun, AFailedStartIsShownInTheWindowWhichStaysOpen)
{
    std::vector<std::string> startErrors;
    SetStartErrorPresenter([&](const std::string& text) { startErrors.push_back(text); });
    std::string shown, caption;
    RunConsole(ConsoleFor("Z:\\no\\such\\program-7f3a.exe"), [&](ConsoleRemote& remote) {
        remote.WaitForText("ERROR");
        remote.Pause(200);
        shown = remote.Text();
        caption = remote.Caption();
    });
    SetStartErrorPresenter(nullptr);
    ASSERT_EQ(1u, startErrors.size());
    EXPECT_EQ(0u, startErrors[0].find("Failed to execute command\n"));
    EXPECT_EQ("ERROR: Failed to start command execution.\n", shown);
    EXPECT_EQ("Executing: Z:\\no\\such\\program-7f3a.exe", caption);
}

TEST(ConsoleTextMode, TypedKeysReachTheControlAndEscapeCloses)
{
    OwnedWindow<FakeConsoleDlg> console;
    console.textMode = true;
    console.title = "Errors";
    console.presetText = "line 1: bad\r\n";
    std::string shown;
    const INT_PTR result = RunConsole(console, [&](ConsoleRemote& remote) {
        remote.Type("ok");
        remote.WaitForText("ok");
        shown = remote.Text();
        remote.PressKey(VK_ESCAPE);
        remote.Pause(300);
    });
    EXPECT_EQ("line 1: bad\nok", shown);
    EXPECT_EQ(IDCANCEL, result);
}

}  // namespace

// The console window's text path through the real rich-edit control: the
// line discipline, held output, code page, copy on right-click, sizing and
// following the end. The windows here are created hidden and run nothing.

#include <gtest/gtest.h>

#include <richedit.h>

#include <memory>

#include "common/Diag.h"
#include "exec/ConsoleLineCases.h"
#include "exec/ConsoleLineDiscipline.h"
#include "exec/ConsoleTestSupport.h"
#include "exec/FakeConsoleDlg.h"

namespace {

// A hidden console in text mode with an empty text: nothing starts, so the
// control holds exactly what the test appends.
std::unique_ptr<OwnedWindow<FakeConsoleDlg>> OpenQuietConsole()
{
    LoadRichEdit();
    auto console = std::make_unique<OwnedWindow<FakeConsoleDlg>>();
    console->textMode = true;
    if (!console->Create())
        return nullptr;
    return console;
}

std::string Shown(FakeConsoleDlg& console) { return ShownText(console.outputCtrl); }

class ConsoleWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        console = OpenQuietConsole();
        ASSERT_NE(nullptr, console);
        ASSERT_TRUE(console->outputCtrl.IsWindow());
    }
    void TearDown() override { console.reset(); }

    void AppendLines(int count)
    {
        std::string text;
        for (int i = 1; i <= count; ++i)
            text += "line " + std::to_string(i) + "\r\n";
        console->AppendOutput(text);
    }

    std::unique_ptr<OwnedWindow<FakeConsoleDlg>> console;
};

TEST(ConsoleDisplay, ShowsWhatAConsoleShowsWhereverThePipeCutTheOutput)
{
    for (const ConsoleLineCase& lineCase : ConsoleLineCases()) {
        for (const std::vector<std::string>& delivery : DeliveriesOf(lineCase)) {
            std::unique_ptr<OwnedWindow<FakeConsoleDlg>> console = OpenQuietConsole();
            ASSERT_NE(nullptr, console);
            for (const std::string& piece : delivery)
                console->AppendOutput(piece);
            if (lineCase.endsWithExitBanner) {
                console->lines.SettleCarriageReturn();
                console->AppendOutput(ExitBannerCodeZero());
            }
            EXPECT_EQ(lineCase.shown, Shown(*console))
                << lineCase.name << " delivered as " << DescribeDelivery(delivery);
        }
    }
}

TEST_F(ConsoleWindow, AppendedTextIsUtf8)
{
    console->AppendOutput("\xE2\x96\x91\xC3\xBC\xF0\x9F\x98\x80");
    EXPECT_EQ(std::wstring(L"\x2591\x00FC\xD83D\xDE00"), ShownWideText(console->outputCtrl));
}

TEST_F(ConsoleWindow, OutputWaitsWhileTextIsSelectedAndComesFirstAtTheNextAppend)
{
    console->AppendOutput("first line\r\n");
    console->outputCtrl.SetSel(0, 5);
    console->AppendOutput("held 1\r\n");
    console->AppendOutput("\r\n\r\n***** Process exited with code 0 *****\r\n");
    EXPECT_EQ("first line\n", Shown(*console)) << "the selection is not overwritten";

    const long length = console->outputCtrl.GetTextLength();
    console->outputCtrl.SetSel(length, length);
    console->AppendOutput("after");
    EXPECT_EQ("first line\nheld 1\n\n\n***** Process exited with code 0 *****\nafter", Shown(*console));
}

// Held behind a long selection, more output than the control may hold at
// once: the newest lines show, behind the marker, and nothing older.
TEST_F(ConsoleWindow, HeldOutputLargerThanTheLimitKeepsItsNewestLines)
{
    console->textLimit = 4000;
    console->AppendOutput("first line\r\n");
    console->outputCtrl.SetSel(0, 5);
    AppendLines(1000);
    const long length = console->outputCtrl.GetTextLength();
    console->outputCtrl.SetSel(length, length);
    console->AppendOutput("tail\r\n");

    const std::string shown = Shown(*console);
    const std::string marker = "***** Older output removed: the console keeps the newest output *****\n";
    ASSERT_EQ(0u, shown.find(marker)) << shown.substr(0, 100);
    EXPECT_LE(shown.size(), 4000u);
    std::string expected = "tail\n";
    for (int i = 1000; expected.size() < shown.size() - marker.size(); --i)
        expected = "line " + std::to_string(i) + "\n" + expected;
    EXPECT_EQ(marker + expected, shown);
}

// Each time the control is full, the newest three quarters of its limit
// stay behind the marker.
TEST_F(ConsoleWindow, AtTheLimitTheNewestThreeQuartersStay)
{
    console->textLimit = 4000;
    long before = 0;
    int trims = 0;
    for (int i = 1; i <= 1500; ++i) {
        console->AppendOutput("line " + std::to_string(i) + "\r\n");
        const long length = console->outputCtrl.GetTextLength();
        if (length < before) {
            ++trims;
            EXPECT_GE(length, 4000 / 4 * 3 - 20) << "after line " << i;
        }
        EXPECT_LE(length, 4000);
        before = length;
    }
    EXPECT_GE(trims, 2);
}

TEST(ConsoleClosing, HeldOutputDoesNotReachTheNextWindow)
{
    std::unique_ptr<OwnedWindow<FakeConsoleDlg>> first = OpenQuietConsole();
    ASSERT_NE(nullptr, first);
    first->AppendOutput("visible\r\n");
    first->outputCtrl.SetSel(0, 3);
    first->AppendOutput("output of the first command\r\n");
    first.reset();

    std::unique_ptr<OwnedWindow<FakeConsoleDlg>> second = OpenQuietConsole();
    ASSERT_NE(nullptr, second);
    second->AppendOutput("second command\r\n");
    EXPECT_EQ("second command\n", Shown(*second));
}

TEST(ConsoleClosing, AnUnfinishedProgressLineDoesNotAffectTheNextWindow)
{
    // A carriage return still waiting for its line feed, or one that had
    // already made the next text replace the line.
    for (const char* lastOutput : { "50%\r", "\r50%\r", "P1\rP2\r", "abc\r\r" }) {
        std::unique_ptr<OwnedWindow<FakeConsoleDlg>> first = OpenQuietConsole();
        ASSERT_NE(nullptr, first);
        first->AppendOutput(lastOutput);
        first.reset();

        std::unique_ptr<OwnedWindow<FakeConsoleDlg>> second = OpenQuietConsole();
        ASSERT_NE(nullptr, second);
        second->AppendOutput("abc");
        second->AppendOutput("def\r\n");
        second->AppendOutput("ghi");
        EXPECT_EQ("abcdef\nghi", Shown(*second)) << "after " << DescribeDelivery({ lastOutput });
    }
}

std::wstring ClipboardText()
{
    std::wstring text;
    if (!::OpenClipboard(nullptr))
        return text;
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        if (const wchar_t* chars = static_cast<const wchar_t*>(::GlobalLock(data))) {
            text = chars;
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return text;
}

void PutOnClipboard(const std::wstring& text)
{
    if (!::OpenClipboard(nullptr))
        return;
    ::EmptyClipboard();
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    if (memory != nullptr) {
        memcpy(::GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
        ::GlobalUnlock(memory);
        ::SetClipboardData(CF_UNICODETEXT, memory);
    }
    ::CloseClipboard();
}

MSG RightClickOn(HWND hWnd)
{
    MSG msg = {};
    msg.hwnd = hWnd;
    msg.message = WM_RBUTTONDOWN;
    msg.wParam = MK_RBUTTON;
    msg.lParam = MAKELPARAM(5, 5);
    return msg;
}

void ExpectCaretAtEnd(CRichEditCtrl& output)
{
    long start = -1, end = -1;
    output.GetSel(start, end);
    EXPECT_EQ(output.GetTextLength(), start);
    EXPECT_EQ(start, end);
}

TEST_F(ConsoleWindow, RightClickCopiesTheSelectionIfAnyAndPutsTheCaretAtTheEnd)
{
    console->AppendOutput("hello world\r\nsecond\r\n");
    PutOnClipboard(L"before");
    DiagCapture diag;

    console->outputCtrl.SetSel(2, 2);
    MSG click = RightClickOn(console->outputCtrl);
    EXPECT_TRUE(console->PreTranslateMessage(&click)) << "no context menu";
    EXPECT_EQ(L"before", ClipboardText()) << "nothing selected, nothing copied";
    EXPECT_EQ("", diag.Text());
    ExpectCaretAtEnd(console->outputCtrl);

    console->outputCtrl.SetSel(6, 11);
    EXPECT_TRUE(console->PreTranslateMessage(&click));
    EXPECT_EQ(L"world", ClipboardText());
    EXPECT_EQ("Right-click: Copied 5 characters to clipboard\n", diag.Text());
    ExpectCaretAtEnd(console->outputCtrl);
}

TEXTMETRICA MetricsOf(HWND hWnd, HFONT font)
{
    TEXTMETRICA metrics = {};
    HDC dc = ::GetDC(hWnd);
    HGDIOBJ previous = ::SelectObject(dc, font);
    ::GetTextMetricsA(dc, &metrics);
    ::SelectObject(dc, previous);
    ::ReleaseDC(hWnd, dc);
    return metrics;
}

TEST_F(ConsoleWindow, OpensWith85By25CharactersOfItsFontAndTheControlFillsIt)
{
    ASSERT_NE(nullptr, console->consoleFont.GetSafeHandle());
    const TEXTMETRICA metrics = MetricsOf(console->outputCtrl, console->consoleFont);
    RECT client;
    console->GetClientRect(&client);
    EXPECT_EQ(85 * metrics.tmAveCharWidth, client.right);
    EXPECT_EQ(25 * metrics.tmHeight, client.bottom);

    console->SetWindowPos(nullptr, 0, 0, 700, 500, SWP_NOMOVE | SWP_NOZORDER);
    console->GetClientRect(&client);
    RECT control;
    console->outputCtrl.GetWindowRect(&control);
    POINT topLeft = { control.left, control.top };
    console->ScreenToClient(&topLeft);
    EXPECT_EQ(0, topLeft.x);
    EXPECT_EQ(0, topLeft.y);
    EXPECT_EQ(client.right, control.right - control.left);
    EXPECT_EQ(client.bottom, control.bottom - control.top);
}

TEST_F(ConsoleWindow, AcceptsTenMebicharactersOfText)
{
    EXPECT_EQ(0xA00000, console->outputCtrl.SendMessage(EM_GETLIMITTEXT));
}

TEST_F(ConsoleWindow, FollowsNewOutputOnlyWhileTheViewIsNearTheEnd)
{
    AppendLines(200);
    const int lineCount = console->outputCtrl.GetLineCount();
    EXPECT_GT(console->outputCtrl.GetFirstVisibleLine(), 150) << "following the end";

    console->outputCtrl.LineScroll(-lineCount);
    ASSERT_EQ(0, console->outputCtrl.GetFirstVisibleLine());
    AppendLines(5);
    EXPECT_EQ(0, console->outputCtrl.GetFirstVisibleLine()) << "someone reading further up stays there";

    console->outputCtrl.LineScroll(lineCount + 10);
    const int nearEnd = console->outputCtrl.GetFirstVisibleLine();
    AppendLines(20);
    EXPECT_GE(console->outputCtrl.GetFirstVisibleLine(), nearEnd + 20);
}

TEST(ConsoleOpening, CaptionNamesTheCommandAndAMissingRunnerIsReported)
{
    LoadRichEdit();
    OwnedWindow<FakeConsoleDlg> console;
    console.command = "backup.exe \"C:\\data\"";
    ASSERT_TRUE(console.Create());
    EXPECT_EQ("Executing: backup.exe \"C:\\data\"", console.GetWindowText());
    EXPECT_EQ("ERROR: Failed to start command execution.\n", ShownText(console.outputCtrl));
    EXPECT_EQ(0u, console.timerId);
}

TEST(ConsoleOpening, TextModeShowsTitleAndTextWithTheCaretAtTheEnd)
{
    LoadRichEdit();
    OwnedWindow<FakeConsoleDlg> console;
    console.textMode = true;
    console.title = "Errors in tool.gui";
    console.presetText = "line 3: unknown keyword\r\nline 9: missing braces";
    console.command = "not shown";
    ASSERT_TRUE(console.Create());
    EXPECT_EQ("Errors in tool.gui", console.GetWindowText());
    EXPECT_EQ("line 3: unknown keyword\nline 9: missing braces", ShownText(console.outputCtrl));
    ExpectCaretAtEnd(console.outputCtrl);
    EXPECT_EQ(0u, console.timerId);

    MSG typed = {};
    typed.hwnd = console.outputCtrl;
    typed.message = WM_CHAR;
    typed.wParam = 'z';
    // As the modal loop would: the dialog's keyboard handling, else dispatch.
    if (!console.PreTranslateMessage(&typed))
        ::DispatchMessageA(&typed);
    EXPECT_EQ("line 3: unknown keyword\nline 9: missing bracesz", ShownText(console.outputCtrl))
        << "typed keys reach the control in text mode";
}

// The error window's listing holds lines as long as the form's: they stay
// whole, one line each, and the view scrolls sideways to them.
TEST(ConsoleOpening, TextModeKeepsLongLinesWholeAndScrollsSideways)
{
    LoadRichEdit();
    OwnedWindow<FakeConsoleDlg> console;
    console.textMode = true;
    console.title = "Parse Error at Line 2";
    console.presetText = "01: " + std::string(1000, 'x') + "\r\n>>> ERROR AT LINE 2: Unrecognized keyword 'x'\r\n";
    ASSERT_TRUE(console.Create());
    EXPECT_EQ(3, (int)console.outputCtrl.SendMessage(EM_GETLINECOUNT));
    SCROLLINFO info = { sizeof info, SIF_RANGE | SIF_PAGE };
    ASSERT_TRUE(::GetScrollInfo(console.outputCtrl, SB_HORZ, &info));
    EXPECT_GT(info.nMax, (int)info.nPage) << "no room to scroll sideways";
    EXPECT_TRUE(::GetWindowLongA(console.outputCtrl, GWL_STYLE) & WS_HSCROLL);
}

TEST(ConsoleOpening, TextModeWithoutTitleFallsBackToTheCommandCaption)
{
    LoadRichEdit();
    OwnedWindow<FakeConsoleDlg> console;
    console.textMode = true;
    console.command = "tool.exe";
    ASSERT_TRUE(console.Create());
    EXPECT_EQ("Executing: tool.exe", console.GetWindowText());
    EXPECT_EQ("", ShownText(console.outputCtrl));
}

}  // namespace

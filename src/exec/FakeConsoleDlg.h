#pragma once
// FakeConsoleDlg: the console-like window that shows a command's output as
// it arrives and passes typed keys to the command.
//
// Run mode: the opener sets `command` and lends a `runner`; the window
// starts the command when it opens and, on a timer, takes what the runner's
// reader thread has received until the child ends, then shows the exit
// banner. Beside the view it keeps a transcript of the whole run, which
// "Save output as..." and "Copy all output" take.
// Text mode: the opener sets `textMode`, `title` and `presetText`; the
// window only shows them.
//
// Every piece of text goes through AppendOutput, so the carriage-return line
// discipline and the auto-grow check see all of it.
//
// The window's end (PostNcDestroy) drops output held back for it, so a
// console is always held as OwnedWindow<FakeConsoleDlg>, which destroys a
// window still open while the whole object lives: the destructor is
// protected to make any other way fail to build.

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "exec/ConsoleEscapes.h"
#include "exec/ConsoleLineDiscipline.h"
#include "exec/ConsoleLineEditor.h"
#include "exec/ConsoleOutputDecoder.h"
#include "exec/ConsoleTranscript.h"
#include "exec/RunEndSignal.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"

class ProcessRunner;

class FakeConsoleDlg : public CDialog {
public:
    explicit FakeConsoleDlg(CWnd* parent = nullptr);

    CRichEditCtrl outputCtrl;
    CFont consoleFont;
    std::string command;
    ProcessRunner* runner = nullptr;  // lent by the opener, never owned
    UINT_PTR timerId = 0;
    bool textMode = false;
    std::string title;
    std::string presetText;
    int outputStreak = 0;
    int idleStreak = 0;
    bool throttled = false;
    bool growDone = false;
    bool growLeft = true;
    bool growRight = true;
    // Characters the control keeps; the oldest output makes room beyond it.
    long textLimit = 0xA00000;
    // Bytes one tick may take from the pipe; learnt from the ticks before,
    // so that a tick's work stays short enough for the window to answer.
    size_t drainBudget = 0;
    // Polling is quicker from the start until the first output shows.
    bool awaitingFirstOutput = false;
    DWORD firstOutputDeadline = 0;
    // The command has ended and its exit banner shows, but something it
    // started still holds the output pipe: reading goes on while the window
    // is open, and the first output after the banner is marked once.
    bool readingAfterExit = false;
    bool lateOutputMarked = false;
    // The child's bytes as UTF-8 text (UTF-8 or the system's OEM code page,
    // decided per line), escape sequences filtered, through the
    // carriage-return line discipline.
    ConsoleOutputDecoder outputDecoder;
    ConsoleEscapeFilter escapes;
    ConsoleLineDiscipline lines;
    // Run mode: everything the window was given, whole (see ConsoleTranscript).
    std::unique_ptr<ConsoleTranscript> transcript;
    // The line being typed, sent at Enter.
    ConsoleLineEditor typing;
    // What the taskbar button shows while the child runs and after it ended.
    std::unique_ptr<RunEndSignal> taskbarSignal;

    // The one way text reaches the window: appends, then checks auto-grow.
    void AppendOutput(const std::string& text);
    // Widens the window once when the output control needs a horizontal
    // scroll bar, within the work area of its screen.
    void CheckAutoGrow();
    // Writes text through the carriage-return line discipline into the
    // transcript and the view.
    void AppendText(const std::string& text);
    // Typed input, as a console edits it (Enter, Backspace, characters).
    void TypeCharacter(char16_t unit);
    // The child is known to run (asks the runner until it has ended, once).
    bool ChildRunning();
    // Replaces the control's selection with UTF-8 text.
    void ReplaceSelection(const std::string& text);
    void ReplaceSelectionWide(const std::wstring& text);

    // Starts the child (run mode), then runs the window.
    INT_PTR DoModal() override;
    BOOL PreTranslateMessage(MSG* msg) override;

    // Keeping the output (system menu): the transcript (in text mode, the
    // text as shown), every line ending in CR LF; the clipboard in both text
    // formats; a UTF-8 file that is replaced whole or not at all.
    // SaveOutputTo reports a failure in a message box.
    std::wstring ShownText() const;
    void CopyAllOutput();
    void SaveOutputAs();
    bool SaveOutputTo(const std::string& path);

protected:
    ~FakeConsoleDlg() override = default;

    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    void PostNcDestroy() override;

    void OnSize(UINT type, int cx, int cy);
    void OnTimer(UINT_PTR id);
    void OnSetFocus(HWND oldFocus);
    // Moved to a monitor of another scale: the font for the new DPI, the
    // text kept.
    LRESULT OnDpiChanged(WPARAM wParam, LPARAM lParam);
    void OnSysCommand(UINT id, LPARAM lParam);
    LRESULT OnActivate(WPARAM state, LPARAM);
    void AddOutputMenuItems();

private:
    // Ticks while output waits behind a selection, so that it shows as soon
    // as the selection ends (also after the run).
    static constexpr UINT_PTR kHeldOutputTimer = 2;
    enum class ChildStart { NotTried, Started, Failed };
    ChildStart childStart = ChildStart::NotTried;
    bool windowOpened = false;
    bool childEnded = false;
    void StartChild();

    // The view's side: writes held while the user has text selected (at
    // most what the view can hold), whether older output was left out, the
    // style in force at the end of the view, typed characters echoed last.
    std::vector<ConsoleWrite> heldWrites;
    bool viewCut = false;
    bool skippingView = false;
    bool viewSkippedMidLine = false;
    TextStyle viewStyle;
    bool viewStyled = false;
    size_t echoedAtEnd = 0;
    void ShowWrites(std::vector<ConsoleWrite> writes);
    bool SelectionIsEmpty();
    void FlushHeldOutput();
    void WriteIntoView(const std::string& filtered);
    void EraseLastShownCharacter();
    // Runs of output the view is further behind with than it can hold go to
    // the transcript only.
    void SkipWhatTheViewWouldDrop();

    // One poll of the pipe: output is appended, the polling period follows
    // the output streaks. False when the pipe has ended.
    bool PollOutput();
    // Takes what waits in the pipe, up to `budget` bytes; false (with what
    // was taken) once the pipe has ended.
    bool DrainPipe(size_t budget, std::string& taken);
    // The child's bytes, decoded, through AppendOutput.
    void AppendChildOutput(const std::string& bytes);
    void AppendDecoded(const std::string& text);
    void AppendTimed(const std::string& output);
    void ShowExit();
    void SendTypedLine();
    void StopPolling();
    void SetPollPeriod(UINT milliseconds);
    // Makes room for `incoming` characters within textLimit by removing the
    // oldest lines behind a one-line marker; everything goes when the piece
    // itself had to be cut.
    void TrimOldestFor(long incoming, bool pieceCut);
    // Puts a new output control holding `text` in place of the old one.
    bool RefillOutputControl(const std::wstring& text);
    HWND CreateOutputControlLike(HWND old);
    void PutOutputControlInPlace(HWND fresh);
    long TrimPoint(long incoming, bool pieceCut);
    // A trim in progress: the new control (in place, drawing off) and the
    // text it gets.
    struct Refill {
        HWND control = nullptr;
        std::wstring text;
        size_t at = 0;
    };
    Refill refill;
    void StartRefill(long incoming);
    // Fills a tick's share; true once the new control has taken the old
    // one's place.
    bool ContinueRefill();

    DECLARE_MESSAGE_MAP()
};

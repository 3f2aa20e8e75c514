// The console window's life: opening (font, size, caption, starting the
// command), following the frame's size, polling the runner, closing.

#include "exec/FakeConsoleDlg.h"

#include <richedit.h>

#include <algorithm>

#include "common/Diag.h"
#include "common/TextFormat.h"
#include "exec/ExitCodeNames.h"
#include "exec/FontMetrics.h"
#include "exec/ProcessRunner.h"
#include "exec/StartErrorBox.h"
#include "exec/SystemCodePages.h"
#include "exec/SystemTaskbarButton.h"
#include "exec/UniqueTempFile.h"
#include "framework/DisplayScale.h"
#include "framework/MonotonicClock.h"
#include "resource.h"

namespace {

constexpr UINT_PTR kPollTimer = 1;
constexpr UINT kPollPeriodMs = 28;
constexpr UINT kThrottledPeriodMs = 100;
// Until the first output (or for this long after the start).
constexpr UINT kFirstOutputPeriodMs = 5;
constexpr DWORD kFirstOutputPollingMs = 1000;
// Six ticks in a row with output switch to the slower period, two quiet
// ones switch back.
constexpr int kTicksBeforeThrottling = 5;
constexpr int kIdleTicksBeforeUnthrottling = 2;
// The first tick takes this much (kept small: the window may widen itself
// right after it, and every step of that re-lays out all text shown); later
// ticks learn from the time the control needed (kTickWorkSeconds of
// appending per tick), never less than the minimum.
constexpr size_t kFirstDrainBudget = 16 * 1024;
constexpr size_t kMinDrainBudget = 16 * 1024;
constexpr double kTickWorkSeconds = 0.060;
constexpr size_t kExitDrainLimit = 1024 * 1024;
// Once the child has ended, how long the reader may take to reach the
// pipe's end (it is normally there at once) before the banner shows.
constexpr DWORD kExitPipeWaitMs = 100;
// Output the view is further behind with than its limit is skipped in
// pieces of this size.
constexpr size_t kSkippedPiece = 256 * 1024;
// Shown once, before output that arrives after the exit banner.
constexpr char kLateOutputMarker[] = "***** Output from a process the command left running *****\r\n";
constexpr int kColumns = 85;
// Ten points, given in tenths of a point.
constexpr int kConsoleFontTenthsOfPoint = 100;
constexpr char kConsoleFontName[] = "Lucida Console";
constexpr int kRows = 25;

// One flag for every console window: moving the output control inside
// OnSize must not start another round of sizing.
bool g_sizingConsole = false;

// The transcript's spill file: a temporary file of our own.
std::FILE* MakeTranscriptSpillFile(std::string& path)
{
    if (!CreateUniqueTempFile("tavrel-output-%08x.tmp", path))
        return nullptr;
    std::FILE* file = std::fopen(path.c_str(), "w+b");
    if (file == nullptr)
        ::DeleteFileA(path.c_str());
    return file;
}

}  // namespace

BEGIN_MESSAGE_MAP(FakeConsoleDlg, CDialog)
    ON_WM_SIZE()
    ON_WM_TIMER()
    ON_WM_SYSCOMMAND()
    ON_WM_SETFOCUS()
    ON_MESSAGE(WM_DPICHANGED, OnDpiChanged)
    ON_MESSAGE(WM_ACTIVATE, OnActivate)
END_MESSAGE_MAP()

FakeConsoleDlg::FakeConsoleDlg(CWnd* parent)
    : CDialog(IDD_FAKECONSOLE, parent), outputDecoder(MakeSystemOutputDecoder())
{
}

INT_PTR FakeConsoleDlg::DoModal()
{
    // The child starts before the window is made, so that its start-up
    // overlaps ours and its first output shows sooner.
    StartChild();
    const INT_PTR result = CDialog::DoModal();
    // No window ever came to poll or stop it.
    if (result == -1 && !windowOpened && childStart == ChildStart::Started)
        runner->Terminate();
    return result;
}

void FakeConsoleDlg::StartChild()
{
    if (childStart != ChildStart::NotTried || textMode)
        return;
    const bool started = runner != nullptr && StartReportingFailure(*runner, command);
    // The run starts here (and ends in ShowExit).
    childStart = started ? ChildStart::Started : ChildStart::Failed;
}

void FakeConsoleDlg::DoDataExchange() { DDX_Control(IDC_CONSOLE_OUTPUT, outputCtrl); }

// The window itself gets the focus when it is activated with no control
// to give it back to, as after the output control was replaced while
// another program was in front. The dialog manager would then hand the
// focus on with the whole output selected, and a selection holds back all
// further output; the focus goes to the output as it is instead.
void FakeConsoleDlg::OnSetFocus(HWND)
{
    if (outputCtrl.IsWindow())
        outputCtrl.SetFocus();
}

BOOL FakeConsoleDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    windowOpened = true;
    AddOutputMenuItems();
    if (!outputCtrl.IsWindow())
        return TRUE;

    StartChild();  // when opened without DoModal

    if (consoleFont.CreatePointFont(kConsoleFontTenthsOfPoint, kConsoleFontName, m_nDpi))
        outputCtrl.SetFont(consoleFont, TRUE);
    outputCtrl.LimitText(textLimit);
    SetWindowText(textMode && !title.empty() ? title : "Executing: " + command);

    const TEXTMETRICA metrics = MeasureFont(outputCtrl, consoleFont);
    RECT window, client;
    GetWindowRect(&window);
    GetClientRect(&client);
    const int width = (window.right - window.left) - (client.right - client.left) + kColumns * metrics.tmAveCharWidth;
    const int height = (window.bottom - window.top) - (client.bottom - client.top) + kRows * metrics.tmHeight;
    SetWindowPos(nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);

    // The dialog manager selects the whole text of a control it gives the
    // focus to: typing in text mode would then replace the report, and in
    // run mode all output would be held back behind that selection. So the
    // focus is set here, and the caret put at the end after it.
    outputCtrl.SetFocus();
    outputCtrl.SetSel(0, 0);

    if (textMode) {
        // A report lists the form's lines as written: each stays one line,
        // however long, and the view scrolls sideways to it rather than
        // wrapping it at the window's width.
        outputCtrl.SendMessage(EM_SETTARGETDEVICE, 0, 1);
        if (!presetText.empty())
            outputCtrl.SetWindowText(presetText);
        const long length = outputCtrl.GetTextLength();
        outputCtrl.SetSel(length, length);
        outputCtrl.HideSelection(TRUE);
        outputCtrl.SendMessage(EM_SCROLLCARET);
        return FALSE;
    }

    transcript = std::make_unique<ConsoleTranscript>(MakeTranscriptSpillFile);
    if (childStart == ChildStart::Started) {
        taskbarSignal = MakeTaskbarSignal(m_hWnd);
        taskbarSignal->RunStarted();
        // Polled often until the first output shows, so that it shows as
        // soon as it comes; then the ordinary period applies.
        awaitingFirstOutput = true;
        firstOutputDeadline = ::GetTickCount() + kFirstOutputPollingMs;
        timerId = SetTimer(kPollTimer, kFirstOutputPeriodMs);
        if (timerId == 0) {
            AppendOutput("ERROR: Failed to start polling timer.\r\n");
            runner->Terminate();
        }
    } else {
        AppendOutput("ERROR: Failed to start command execution.\r\n");
    }
    return FALSE;  // the focus is set
}

void FakeConsoleDlg::OnSize(UINT type, int cx, int cy)
{
    if (g_sizingConsole)
        return;
    g_sizingConsole = true;
    Default();
    if (outputCtrl.IsWindow())
        outputCtrl.MoveWindow(0, 0, cx, cy, TRUE);
    g_sizingConsole = false;
}

bool FakeConsoleDlg::ChildRunning()
{
    if (runner == nullptr || childStart != ChildStart::Started || childEnded)
        return false;
    // Asked until the answer is "ended", once: the runner traces that answer.
    childEnded = !runner->IsRunning();
    return !childEnded;
}

LRESULT FakeConsoleDlg::OnDpiChanged(WPARAM wParam, LPARAM lParam)
{
    const int dpi = HIWORD(wParam);
    if (dpi <= 0 || lParam == 0)
        return 0;
    m_nDpi = dpi;
    if (outputCtrl.IsWindow() && consoleFont.CreatePointFont(kConsoleFontTenthsOfPoint, kConsoleFontName, dpi))
        outputCtrl.SetFont(consoleFont, TRUE);
    const RECT suggested = SuggestedRect(lParam);
    SetWindowPos(nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

void FakeConsoleDlg::OnTimer(UINT_PTR id)
{
    if (id == kHeldOutputTimer)
        FlushHeldOutput();
    // timerId is 0 once reading has stopped: a tick already queued by then
    // must not read again.
    if (id == kPollTimer && runner != nullptr && timerId != 0) {
        // Keys typed faster than the child reads them wait in the runner.
        if (runner->HasPendingInput())
            runner->FlushInput();
        const bool ended = !ChildRunning();
        const bool pipeOpen = PollOutput();
        if (readingAfterExit) {
            if (!pipeOpen) {
                AppendDecoded(escapes.Filter(outputDecoder.Flush()));
                StopPolling();
            }
        } else if (ended && runner->WaitingOutput() == 0) {
            // Everything the child wrote before it ended comes first; the
            // last of it may still be on its way through the reader, which
            // normally reaches the pipe's end at once. Only a process the
            // child left behind could keep the pipe open longer, and its
            // output may follow the banner.
            const bool pipeEnded = runner->WaitForOutputEnd(kExitPipeWaitMs);
            if (!pipeEnded || runner->WaitingOutput() == 0)
                ShowExit();
        }
    }
    Default();
}

bool FakeConsoleDlg::PollOutput()
{
    if (drainBudget == 0)
        drainBudget = kFirstDrainBudget;
    // While a full view is being trimmed, output waits in the reader's
    // queue rather than piling up behind the trim.
    if (refill.control != nullptr) {
        FlushHeldOutput();
        return true;
    }
    SkipWhatTheViewWouldDrop();
    std::string output;
    const bool pipeOpen = DrainPipe(drainBudget, output);
    if (awaitingFirstOutput &&
        (!output.empty() || !pipeOpen || static_cast<LONG>(::GetTickCount() - firstOutputDeadline) >= 0)) {
        awaitingFirstOutput = false;
        SetPollPeriod(kPollPeriodMs);
    }
    if (!output.empty()) {
        if (readingAfterExit && !lateOutputMarked) {
            AppendOutput(kLateOutputMarker);
            lateOutputMarked = true;
        }
        AppendTimed(output);
        ++outputStreak;
        idleStreak = 0;
        if (!throttled && outputStreak > kTicksBeforeThrottling) {
            SetPollPeriod(kThrottledPeriodMs);
            throttled = true;
            Diag("Output throttling enabled (100ms polling)\n");
        }
    } else if (pipeOpen) {
        // The output paused: an unfinished line shows as far as it can.
        AppendDecoded(escapes.Filter(outputDecoder.FlushPause()));
        outputStreak = 0;
        ++idleStreak;
        if (throttled && idleStreak >= kIdleTicksBeforeUnthrottling) {
            SetPollPeriod(kPollPeriodMs);
            throttled = false;
            Diag("Output throttling disabled (28ms polling)\n");
        }
    }
    return pipeOpen;
}

bool FakeConsoleDlg::DrainPipe(size_t budget, std::string& taken)
{
    return runner->ReadOutput(taken, budget);
}

// Appending output that the view would trim again before the end shows
// only costs time: when the view is further behind than it can hold, the
// older part goes to the transcript alone, and the view goes on with the
// newest output behind the "older output removed" line.
void FakeConsoleDlg::SkipWhatTheViewWouldDrop()
{
    const size_t viewKeeps = static_cast<size_t>(textLimit) / 4 * 3;
    // Once the child has ended, nothing older than the newest three quarters
    // of the limit will stay in view.
    const size_t behind = childEnded ? viewKeeps : static_cast<size_t>(textLimit);
    const double start = MonotonicSeconds();
    // In pieces, for at most a tick's share of time: the transcript still
    // takes every byte.
    for (size_t waiting = runner->WaitingOutput(); waiting > behind && MonotonicSeconds() - start < kTickWorkSeconds;
         waiting = runner->WaitingOutput()) {
        std::string skipped;
        runner->ReadOutput(skipped, std::min(kSkippedPiece, waiting - viewKeeps));
        skippingView = true;
        AppendChildOutput(skipped);
        skippingView = false;
    }
}

// Learns how many bytes the control takes in one tick's worth of time: the
// control's speed differs by orders of magnitude between systems.
void FakeConsoleDlg::AppendTimed(const std::string& output)
{
    const double start = MonotonicSeconds();
    AppendChildOutput(output);
    const double spent = MonotonicSeconds() - start;
    if (output.size() < kMinDrainBudget || spent <= 0)
        return;
    const double fitting = static_cast<double>(output.size()) * kTickWorkSeconds / spent;
    const double learnt = (static_cast<double>(drainBudget) + fitting) / 2;
    const double ceiling = std::max<double>(kMinDrainBudget, static_cast<double>(textLimit) / 4);
    drainBudget = static_cast<size_t>(std::min(ceiling, std::max<double>(kMinDrainBudget, learnt)));
}

void FakeConsoleDlg::AppendChildOutput(const std::string& bytes)
{
    AppendDecoded(escapes.Filter(outputDecoder.Decode(bytes)));
}

// Nothing to show is no append: an empty one would still run the auto-grow
// check and its diagnostic lines.
void FakeConsoleDlg::AppendDecoded(const std::string& text)
{
    if (!text.empty())
        AppendOutput(text);
}

void FakeConsoleDlg::ShowExit()
{
    std::string output;
    const bool pipeOpen = DrainPipe(kExitDrainLimit, output);
    AppendChildOutput(output);
    // A line cut short can only be completed by a process still holding
    // the pipe.
    if (!pipeOpen) {
        AppendDecoded(escapes.Filter(outputDecoder.Flush()));
        escapes.Reset();
    }
    lines.SettleCarriageReturn();
    // The run ends here (the taskbar may show it from this point).
    const DWORD exitCode = runner->GetExitCode();
    AppendOutput(FormatText("\r\n\r\n***** Process exited with code %d *****\r\n", static_cast<int>(exitCode)));
    const std::string crash = DescribeCrashExitCode(exitCode);
    if (!crash.empty())
        AppendOutput("***** Exit code " + crash + " *****\r\n");
    SetWindowText(GetWindowText() + " (Completed)");
    if (taskbarSignal)
        taskbarSignal->RunEnded(static_cast<int>(runner->GetExitCode()));
    readingAfterExit = true;
    if (!pipeOpen)
        StopPolling();
}

void FakeConsoleDlg::StopPolling()
{
    KillTimer(timerId);
    timerId = 0;
}

void FakeConsoleDlg::SetPollPeriod(UINT milliseconds)
{
    KillTimer(timerId);
    timerId = SetTimer(kPollTimer, milliseconds);
}

LRESULT FakeConsoleDlg::OnActivate(WPARAM state, LPARAM)
{
    if (LOWORD(state) != WA_INACTIVE && taskbarSignal)
        taskbarSignal->Activated();
    return Default();
}

void FakeConsoleDlg::PostNcDestroy()
{
    timerId = 0;
    // Closed while the child still writes: its output is read and dropped,
    // so that it never waits for a window that is gone.
    if (runner != nullptr && childStart == ChildStart::Started)
        runner->DropOutput();
    taskbarSignal.reset();  // the button as it was before the run
    heldWrites.clear();
    refill = Refill();  // its control goes with the window
    transcript.reset();  // its spill file goes with the window
    CDialog::PostNcDestroy();
}

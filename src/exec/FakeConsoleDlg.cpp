// The console window's life: opening (font, size, caption, starting the
// command), following the frame's size, polling the runner, closing.

#include "exec/FakeConsoleDlg.h"

#include <cstdio>

#include "common/Diag.h"
#include "exec/ConsoleLineDiscipline.h"
#include "exec/FontMetrics.h"
#include "exec/ProcessRunner.h"
#include "resource.h"

namespace {

constexpr UINT_PTR kPollTimer = 1;
constexpr UINT kPollPeriodMs = 28;
constexpr UINT kThrottledPeriodMs = 100;
// Six ticks in a row with output switch to the slower period, two quiet
// ones switch back.
constexpr int kTicksBeforeThrottling = 5;
constexpr int kIdleTicksBeforeUnthrottling = 2;
constexpr long kTextLimit = 0xA00000;
constexpr int kColumns = 85;
constexpr int kRows = 25;

// One flag for every console window: moving the output control inside
// OnSize must not start another round of sizing.
bool g_sizingConsole = false;


}  // namespace

BEGIN_MESSAGE_MAP(FakeConsoleDlg, CDialog)
    ON_WM_SIZE()
    ON_WM_TIMER()
    ON_WM_SYSCOMMAND()
END_MESSAGE_MAP()

FakeConsoleDlg::FakeConsoleDlg(CWnd* parent) : CDialog(IDD_FAKECONSOLE, parent) {}

FakeConsoleDlg::~FakeConsoleDlg()
{
    // Destroyed here rather than in the base so that PostNcDestroy still
    // reaches this class.
    if (IsWindow())
        DestroyWindow();
}

void FakeConsoleDlg::DoDataExchange() { DDX_Control(IDC_CONSOLE_OUTPUT, outputCtrl); }

BOOL FakeConsoleDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    AddOutputMenuItems();
    if (!outputCtrl.IsWindow())
        return TRUE;

    if (consoleFont.CreatePointFont(100, "Lucida Console"))
        outputCtrl.SetFont(consoleFont, TRUE);
    outputCtrl.LimitText(kTextLimit);
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
        if (!presetText.empty())
            outputCtrl.SetWindowText(presetText);
        const long length = outputCtrl.GetTextLength();
        outputCtrl.SetSel(length, length);
        outputCtrl.HideSelection(TRUE);
        outputCtrl.SendMessage(EM_SCROLLCARET);
        return FALSE;
    }

    if (runner != nullptr && runner->Start(command)) {
        timerId = SetTimer(kPollTimer, kPollPeriodMs);
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

void FakeConsoleDlg::OnTimer(UINT_PTR id)
{
    // timerId is 0 once the end was shown: a tick already queued by then
    // must not read again.
    if (id == kPollTimer && runner != nullptr && timerId != 0) {
        // Keys typed faster than the child reads them wait in the runner.
        if (runner->HasPendingInput())
            runner->FlushInput();
        std::string chunk;
        if (runner->ReadOutput(chunk)) {
            if (!chunk.empty()) {
                AppendOutput(chunk);
                ++outputStreak;
                idleStreak = 0;
                if (!throttled && outputStreak > kTicksBeforeThrottling) {
                    KillTimer(timerId);
                    timerId = SetTimer(kPollTimer, kThrottledPeriodMs);
                    throttled = true;
                    Diag("Output throttling enabled (100ms polling)\n");
                }
            } else {
                outputStreak = 0;
                ++idleStreak;
                if (throttled && idleStreak >= kIdleTicksBeforeUnthrottling) {
                    KillTimer(timerId);
                    timerId = SetTimer(kPollTimer, kPollPeriodMs);
                    throttled = false;
                    Diag("Output throttling disabled (28ms polling)\n");
                }
            }
        }

        if (!runner->IsRunning()) {
            KillTimer(timerId);
            timerId = 0;
            // What the child wrote just before it ended is still in the pipe.
            while (runner->ReadOutput(chunk) && !chunk.empty())
                AppendOutput(chunk);
            ConsoleLines().SettleCarriageReturn();
            char banner[80];
            snprintf(banner, sizeof banner, "\r\n\r\n***** Process exited with code %d *****\r\n",
                     static_cast<int>(runner->GetExitCode()));
            AppendOutput(banner);
            SetWindowText(GetWindowText() + " (Completed)");
        }
    }
    Default();
}

void FakeConsoleDlg::PostNcDestroy()
{
    timerId = 0;
    // Output held back for this window (a selection was open, or a carriage
    // return waited for its line feed) must not show up in the next one.
    ConsoleLines().Discard();
    CDialog::PostNcDestroy();
}

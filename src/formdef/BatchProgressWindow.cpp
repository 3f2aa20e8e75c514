#include "formdef/BatchProgressWindow.h"

#include "common/Diag.h"
#include "common/TextFormat.h"
#include "framework/DisplayScale.h"
#include "framework/WinApp.h"

namespace {

// Pixels at 96 DPI, scaled to the window's.
constexpr int kClientWidth = 360;
constexpr int kClientHeight = 100;
constexpr int kMargin = 12;
constexpr int kTextHeight = 18;
constexpr int kStatusOffset = 24;  // the status line below the message
constexpr int kButtonWidth = 88;
constexpr int kButtonHeight = 26;
constexpr UINT kMessageId = 100;

std::string StatusText(DWORD elapsedMs, size_t bytesReceived)
{
    return FormatText("Running for %lu s, %lu bytes received", static_cast<unsigned long>(elapsedMs / 1000),
                      static_cast<unsigned long>(bytesReceived));
}

// Centred in the work area of the monitor the user works on (the one with
// the foreground window, else the one under the mouse), not the primary one.
RECT CentredOnWorkArea(int width, int height)
{
    POINT cursor = {};
    GetCursorPos(&cursor);
    HWND foreground = GetForegroundWindow();
    RECT around = {cursor.x, cursor.y, cursor.x + 1, cursor.y + 1};
    if (foreground != nullptr)
        GetWindowRect(foreground, &around);
    const ScreenRect placed = CentreIn({0, 0, width, height}, WorkAreaNear(around));
    return {placed.left, placed.top, placed.right, placed.bottom};
}

}  // namespace

BEGIN_MESSAGE_MAP(BatchProgressWindow, CWnd)
    ON_COMMAND(IDCANCEL, OnCancelPressed)
    ON_MESSAGE(WM_CLOSE, OnClose)
END_MESSAGE_MAP()

BatchProgressWindow::BatchProgressWindow(const std::string& formPath)
    : m_formName(formPath.substr(formPath.find_last_of("\\/") + 1))
{
}

bool BatchProgressWindow::KeepRunning(DWORD elapsedMs, size_t bytesReceived)
{
    if (!m_openTried && elapsedMs >= kShowAfterMs)
        Open();
    if (m_hWnd) {
        std::string status = StatusText(elapsedMs, bytesReceived);
        if (m_status.GetWindowText() != status)
            m_status.SetWindowText(status);
        PumpMessages();
    }
    return !m_cancelled;
}

void BatchProgressWindow::Open()
{
    m_openTried = true;
    Diag("Batch script still running - showing the progress window\n");
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    // Laid out for the DPI of the monitor it opens on (the system's until
    // the window exists).
    int dpi = SystemDpi();
    auto px = [&dpi](int value96) { return ScaleForDpi(value96, dpi); };
    const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_APPWINDOW;
    RECT frame = {0, 0, px(kClientWidth), px(kClientHeight)};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    // The system's dialog class: dialog background, and Escape and Enter
    // through IsDialogMessage, without a template of our own.
    if (!CreateEx(exStyle, "#32770", AfxGetAppName().c_str(), style,
                  CentredOnWorkArea(frame.right - frame.left, frame.bottom - frame.top), nullptr, 0))
        return;  // the script goes on without a window, as it always did
    if (DpiOfWindow(m_hWnd) != dpi) {
        dpi = DpiOfWindow(m_hWnd);
        RECT client = {0, 0, px(kClientWidth), px(kClientHeight)};
        AdjustWindowRectEx(&client, style, FALSE, exStyle);
        SetWindowPos(nullptr, 0, 0, client.right - client.left, client.bottom - client.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    const int clientWidth = px(kClientWidth), clientHeight = px(kClientHeight), margin = px(kMargin);
    const int textHeight = px(kTextHeight), statusTop = margin + px(kStatusOffset);

    const DWORD text = WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX;
    const int textWidth = clientWidth - 2 * margin;
    m_message.Create("Preparing the form from " + m_formName + "...", text,
                     {margin, margin, margin + textWidth, margin + textHeight}, this, kMessageId);
    m_status.Create("", text, {margin, statusTop, margin + textWidth, statusTop + textHeight}, this, kStatusId);
    m_cancel.Create("Cancel", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                    {clientWidth - margin - px(kButtonWidth), clientHeight - margin - px(kButtonHeight),
                     clientWidth - margin, clientHeight - margin},
                    this, IDCANCEL);
    HFONT font = GuiFontForDpi(dpi);
    for (CWnd* control : {static_cast<CWnd*>(&m_message), static_cast<CWnd*>(&m_status), static_cast<CWnd*>(&m_cancel)})
        if (control->m_hWnd)
            control->SetFont(font);

    ShowWindow(SW_SHOWNORMAL);
    SetForegroundWindow(m_hWnd);
    if (m_cancel.m_hWnd)
        m_cancel.SetFocus();
}

void BatchProgressWindow::PumpMessages()
{
    // Only this window's messages: the form that is being loaded is not
    // ready for its own yet.
    MSG msg;
    while (m_hWnd && PeekMessageA(&msg, m_hWnd, 0, 0, PM_REMOVE)) {
        if (!IsDialogMessageA(m_hWnd, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

void BatchProgressWindow::OnCancelPressed()
{
    if (!m_cancelled)
        Diag("Batch script cancelled by the user\n");
    m_cancelled = true;
}

LRESULT BatchProgressWindow::OnClose(WPARAM, LPARAM)
{
    OnCancelPressed();
    return 0;
}

#include "formdef/BatchProgressWindow.h"

#include "common/Diag.h"
#include "common/TextFormat.h"
#include "framework/WinApp.h"

namespace {

constexpr int kClientWidth = 360;
constexpr int kClientHeight = 100;
constexpr int kMargin = 12;
constexpr int kTextHeight = 18;
constexpr int kButtonWidth = 88;
constexpr int kButtonHeight = 26;
constexpr UINT kMessageId = 100;

std::string StatusText(DWORD elapsedMs, size_t bytesReceived)
{
    return FormatText("Running for %lu s, %lu bytes received", static_cast<unsigned long>(elapsedMs / 1000),
                      static_cast<unsigned long>(bytesReceived));
}

RECT CentredOnWorkArea(int width, int height)
{
    RECT area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    int left = area.left + (area.right - area.left - width) / 2;
    int top = area.top + (area.bottom - area.top - height) / 2;
    return {left, top, left + width, top + height};
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
    const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_APPWINDOW;
    RECT frame = {0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    // The system's dialog class: dialog background, and Escape and Enter
    // through IsDialogMessage, without a template of our own.
    if (!CreateEx(exStyle, "#32770", AfxGetAppName().c_str(), style,
                  CentredOnWorkArea(frame.right - frame.left, frame.bottom - frame.top), nullptr, 0))
        return;  // the script goes on without a window, as it always did

    const DWORD text = WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX;
    const int textWidth = kClientWidth - 2 * kMargin;
    m_message.Create("Preparing the form from " + m_formName + "...", text,
                     {kMargin, kMargin, kMargin + textWidth, kMargin + kTextHeight}, this, kMessageId);
    m_status.Create("", text, {kMargin, kMargin + 24, kMargin + textWidth, kMargin + 24 + kTextHeight}, this, kStatusId);
    m_cancel.Create("Cancel", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                    {kClientWidth - kMargin - kButtonWidth, kClientHeight - kMargin - kButtonHeight,
                     kClientWidth - kMargin, kClientHeight - kMargin},
                    this, IDCANCEL);
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
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

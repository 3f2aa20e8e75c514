#include "RunFlowSupport.h"

#include "formui/ShiftKey.h"
#include "support/TestPrograms.h"
#include "support/WindowQueries.h"

namespace {

ConsoleWatch* g_watch = nullptr;

}  // namespace

// ---- HoldShift ----------------------------------------------------------------

HoldShift::HoldShift()
{
    SetShiftKeyProbe([]() { return true; });
}

HoldShift::~HoldShift() { SetShiftKeyProbe(nullptr); }

// ---- ConsoleWatch -------------------------------------------------------------

ConsoleWatch::ConsoleWatch(CTavrelDlg& form, DWORD timeoutMs) : m_form(form), m_timeoutMs(timeoutMs)
{
    g_watch = this;
    m_timer = ::SetTimer(nullptr, 0, 15, &ConsoleWatch::Tick);
}

ConsoleWatch::~ConsoleWatch()
{
    if (m_timer != 0)
        ::KillTimer(nullptr, m_timer);
    g_watch = nullptr;
}

void CALLBACK ConsoleWatch::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_watch != nullptr)
        g_watch->Poll();
}

void ConsoleWatch::Poll()
{
    HWND console = FindThreadWindow(::GetCurrentThreadId(),
                                    [](HWND window) { return TextOf(window).rfind("Executing: ", 0) == 0; });
    if (console == nullptr)
        return;
    // A window handle can be reused by the next console: a mark on the
    // window itself tells a new console from one already seen.
    const char kSeen[] = "ConsoleWatchSeen";
    if (::GetPropA(console, kSeen) == nullptr) {
        ::SetPropA(console, kSeen, reinterpret_cast<HANDLE>(1));
        m_openedAt = ::GetTickCount();
        m_closeRequested = false;
        ++consolesSeen;
    }
    if (m_closeRequested)
        return;
    if (m_form.m_btnRun.IsWindow() && m_form.m_btnRun.IsWindowEnabled())
        runButtonEnabledWhileOpen = true;

    std::string shown = WithLineFeeds(TextOf(FindChild(console, "RichEdit20W")));
    bool ended = shown.find("***** Process exited with code") != std::string::npos;
    bool late = ::GetTickCount() - m_openedAt > m_timeoutMs;
    if (!ended && !late)
        return;
    timedOut = timedOut || !ended;
    text = shown;
    caption = TextOf(console);
    if (beforeClose)
        beforeClose();
    m_closeRequested = true;
    ::PostMessageA(console, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

std::string ArgsPrinterCommand() { return QuotedTestChild() + " args"; }

#include "RunFlowSupport.h"

#include <filesystem>
#include <fstream>

#include "formui/ShiftKey.h"
#include "support/TestPrograms.h"

namespace {

std::string TempFolder()
{
    char folder[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, folder);
    return folder;
}

std::string FreshTempName(const char* prefix)
{
    char path[MAX_PATH] = {};
    ::GetTempFileNameA(TempFolder().c_str(), prefix, 0, path);
    return path;
}

std::string WideToAnsi(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    int length = ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), (int)text.size(), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), (int)text.size(), &out[0], length, nullptr, nullptr);
    return out;
}

std::string WindowTextOf(HWND window)
{
    int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int got = ::GetWindowTextW(window, &text[0], length + 1);
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return WideToAnsi(text);
}

std::string WithLineFeeds(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out.push_back('\n');
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

ConsoleWatch* g_watch = nullptr;

BOOL CALLBACK FindConsole(HWND window, LPARAM result)
{
    if (::IsWindowVisible(window) && WindowTextOf(window).rfind("Executing: ", 0) == 0) {
        *reinterpret_cast<HWND*>(result) = window;
        return FALSE;
    }
    return TRUE;
}

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
    HWND console = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindConsole, reinterpret_cast<LPARAM>(&console));
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

    std::string shown = WithLineFeeds(WindowTextOf(::GetDlgItem(console, 1004)));
    bool ended = shown.find("***** Process exited with code") != std::string::npos;
    bool late = ::GetTickCount() - m_openedAt > m_timeoutMs;
    if (!ended && !late)
        return;
    timedOut = timedOut || !ended;
    text = shown;
    caption = WindowTextOf(console);
    m_closeRequested = true;
    ::PostMessageA(console, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

std::string ArgsPrinterCommand() { return QuotedTestChild() + " args"; }

ScratchFolder::ScratchFolder()
{
    m_path = FreshTempName("tvd");
    ::DeleteFileA(m_path.c_str());
    ::CreateDirectoryA(m_path.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::string ScratchFolder::WriteFile(const std::string& name, const std::string& bytes) const
{
    std::string path = PathOf(name);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    return path;
}

std::string ScratchFolder::MakeFolder(const std::string& name) const
{
    std::string path = PathOf(name);
    ::CreateDirectoryA(path.c_str(), nullptr);
    return path;
}

#include "exec/ConsoleTestSupport.h"

#include <richedit.h>

#include <thread>
#include <vector>

#include "support/TestPrograms.h"

namespace {

constexpr UINT kReplyTimeoutMs = 2000;
constexpr int kOutputControlId = 1004;

LRESULT SendBounded(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    if (!::SendMessageTimeoutW(hWnd, message, wParam, lParam, SMTO_NORMAL, kReplyTimeoutMs, &result))
        return 0;
    return static_cast<LRESULT>(result);
}

template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (::GetTickCount() - start >= timeoutMs)
            return false;
        ::Sleep(10);
    }
}

struct WindowSearch {
    HWND found = nullptr;
};

BOOL CALLBACK FindVisibleConsole(HWND hWnd, LPARAM lParam)
{
    char className[32] = {};
    ::GetClassNameA(hWnd, className, sizeof className);
    if (lstrcmpA(className, "#32770") != 0 || !::IsWindowVisible(hWnd) ||
        ::GetDlgItem(hWnd, kOutputControlId) == nullptr)
        return TRUE;
    reinterpret_cast<WindowSearch*>(lParam)->found = hWnd;
    return FALSE;
}

// A message box is a dialog without the console's output control.
BOOL CALLBACK FindVisibleMessageBox(HWND hWnd, LPARAM lParam)
{
    char className[32] = {};
    ::GetClassNameA(hWnd, className, sizeof className);
    if (lstrcmpA(className, "#32770") != 0 || !::IsWindowVisible(hWnd) ||
        ::GetDlgItem(hWnd, kOutputControlId) != nullptr)
        return TRUE;
    reinterpret_cast<WindowSearch*>(lParam)->found = hWnd;
    return FALSE;
}

std::string NormalizeLineEnds(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            out.push_back('\n');
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

}  // namespace

void LoadRichEdit()
{
    static HMODULE library = ::LoadLibraryA("RICHED20.DLL");
    (void)library;
}

std::wstring ShownWideText(HWND richEdit)
{
    GETTEXTLENGTHEX lengthQuery = { GTL_NUMCHARS | GTL_PRECISE | GTL_USECRLF, 1200 };
    const LRESULT length = SendBounded(richEdit, EM_GETTEXTLENGTHEX, (WPARAM)&lengthQuery, 0);
    if (length <= 0)
        return std::wstring();
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
    GETTEXTEX query = {};
    query.cb = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    query.flags = GT_USECRLF;
    query.codepage = 1200;
    const LRESULT copied = SendBounded(richEdit, EM_GETTEXTEX, (WPARAM)&query, (LPARAM)buffer.data());
    return std::wstring(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

std::string ShownText(HWND richEdit)
{
    const std::wstring wide = ShownWideText(richEdit);
    if (wide.empty())
        return std::string();
    const int length = ::WideCharToMultiByte(437, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                             nullptr, nullptr);
    std::string bytes(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(437, 0, wide.data(), static_cast<int>(wide.size()), &bytes[0], length, nullptr, nullptr);
    return NormalizeLineEnds(bytes);
}

bool ConsoleRemote::WaitForWindow(DWORD timeoutMs)
{
    return WaitUntil(
        [this]() {
            WindowSearch search;
            ::EnumThreadWindows(m_uiThread, FindVisibleConsole, reinterpret_cast<LPARAM>(&search));
            if (search.found == nullptr)
                return false;
            m_window = search.found;
            return true;
        },
        timeoutMs);
}

bool ConsoleRemote::WaitForText(const std::string& needle, DWORD timeoutMs)
{
    return WaitUntil([&]() { return IsOpen() && Text().find(needle) != std::string::npos; }, timeoutMs);
}

bool ConsoleRemote::WaitForCaptionEnding(const std::string& suffix, DWORD timeoutMs)
{
    return WaitUntil(
        [&]() {
            const std::string caption = Caption();
            return caption.size() >= suffix.size() && caption.compare(caption.size() - suffix.size(), suffix.size(), suffix) == 0;
        },
        timeoutMs);
}

// Asked each time: a full console puts a new output control in place.
HWND ConsoleRemote::Output() const { return ::GetDlgItem(m_window, kOutputControlId); }

std::string ConsoleRemote::Text() const { return IsOpen() ? ShownText(Output()) : std::string(); }

std::wstring ConsoleRemote::WideText() const { return IsOpen() ? ShownWideText(Output()) : std::wstring(); }

void ConsoleRemote::FocusTheWindowItself() { SendBounded(m_window, WM_SETFOCUS, 0, 0); }

std::string ConsoleRemote::Caption() const
{
    if (!IsOpen())
        return std::string();
    char caption[1024] = {};
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutA(m_window, WM_GETTEXT, sizeof caption, (LPARAM)caption, SMTO_NORMAL, kReplyTimeoutMs,
                          &copied);
    return caption;
}

void ConsoleRemote::Type(const std::string& characters)
{
    for (char c : characters)
        ::PostMessageA(Output(), WM_CHAR, static_cast<unsigned char>(c), 1);
}

void ConsoleRemote::PressKey(UINT virtualKey)
{
    const UINT scanCode = ::MapVirtualKeyA(virtualKey, 0);
    ::PostMessageA(Output(), WM_KEYDOWN, virtualKey, 1 | (scanCode << 16));
    ::PostMessageA(Output(), WM_KEYUP, virtualKey, 1 | (scanCode << 16) | 0xC0000000u);
}

void ConsoleRemote::ClickCloseBox() { ::PostMessageA(m_window, WM_SYSCOMMAND, SC_CLOSE, 0); }

bool ConsoleRemote::AnswerMessageBox(int answer, DWORD timeoutMs)
{
    WindowSearch search;
    const bool found = WaitUntil(
        [&]() {
            ::EnumThreadWindows(m_uiThread, FindVisibleMessageBox, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        timeoutMs);
    if (found)
        ::PostMessageA(search.found, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
    return found;
}

INT_PTR RunConsole(FakeConsoleDlg& console, const std::function<void(ConsoleRemote&)>& script)
{
    LoadRichEdit();
    const DWORD uiThread = ::GetCurrentThreadId();
    std::thread helper([&]() {
        ConsoleRemote remote(uiThread);
        if (remote.WaitForWindow())
            script(remote);
        if (remote.IsOpen())
            remote.ClickCloseBox();
    });
    const INT_PTR result = console.DoModal();
    helper.join();
    return result;
}

std::string TestChildCommand(const std::string& steps) { return QuotedTestChild() + " " + steps; }

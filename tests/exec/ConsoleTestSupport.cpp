#include "exec/ConsoleTestSupport.h"

#include <richedit.h>

#include <algorithm>
#include <thread>
#include <vector>

#include "support/TestPrograms.h"
#include "support/WindowQueries.h"

namespace {

// The console is the dialog with a rich-edit output; a message box is a
// dialog without one.
HWND OutputIn(HWND dialog) { return FindChild(dialog, "RichEdit20W"); }

bool IsConsole(HWND window) { return IsDialog(window) && OutputIn(window) != nullptr; }

bool IsMessageBox(HWND window) { return IsDialog(window) && OutputIn(window) == nullptr; }

}  // namespace

void LoadRichEdit()
{
    static HMODULE library = ::LoadLibraryA("RICHED20.DLL");
    (void)library;
}

std::wstring ShownWideText(HWND richEdit)
{
    GETTEXTLENGTHEX lengthQuery = { GTL_NUMCHARS | GTL_PRECISE | GTL_USECRLF, 1200 };
    DWORD_PTR length = 0;
    if (!SendBounded(richEdit, EM_GETTEXTLENGTHEX, (WPARAM)&lengthQuery, 0, &length) || length == 0)
        return std::wstring();
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
    GETTEXTEX query = {};
    query.cb = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    query.flags = GT_USECRLF;
    query.codepage = 1200;
    DWORD_PTR copied = 0;
    SendBounded(richEdit, EM_GETTEXTEX, (WPARAM)&query, (LPARAM)buffer.data(), &copied);
    return std::wstring(buffer.data(), std::min<size_t>(copied, length));
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
    return WithLineFeeds(bytes);
}

bool ConsoleRemote::WaitForWindow(DWORD timeoutMs)
{
    return WaitUntil(
        [this]() {
            m_window = FindThreadWindow(m_uiThread, IsConsole);
            return m_window != nullptr;
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
HWND ConsoleRemote::Output() const { return OutputIn(m_window); }

std::string ConsoleRemote::Text() const { return IsOpen() ? ShownText(Output()) : std::string(); }

std::wstring ConsoleRemote::WideText() const { return IsOpen() ? ShownWideText(Output()) : std::wstring(); }

void ConsoleRemote::FocusTheWindowItself() { SendBounded(m_window, WM_SETFOCUS, 0, 0); }

std::string ConsoleRemote::Caption() const { return IsOpen() ? TextOf(m_window) : std::string(); }

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
    HWND box = nullptr;
    const bool found = WaitUntil(
        [&]() {
            box = FindThreadWindow(m_uiThread, IsMessageBox);
            return box != nullptr;
        },
        timeoutMs);
    if (found)
        AnswerDialog(box, answer);
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

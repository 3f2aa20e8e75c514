#include "support/WindowQueries.h"

namespace {

BOOL CALLBACK CollectWindow(HWND window, LPARAM lParam)
{
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(window);
    return TRUE;
}

UINT ButtonType(HWND window) { return ClassOf(window) == "Button" ? StyleOf(window) & BS_TYPEMASK : ~0u; }

}  // namespace

bool SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result)
{
    DWORD_PTR ignored = 0;
    return ::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, kWindowReplyTimeoutMs,
                                 result ? result : &ignored) != 0;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD pollMs)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (::GetTickCount() - start >= timeoutMs)
            return false;
        ::Sleep(pollMs);
    }
}

// ---- What a window is ------------------------------------------------------

std::string TextOf(HWND window)
{
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kWindowReplyTimeoutMs, &length))
        return std::string();
    // The length may be counted in other units than the text comes in.
    std::vector<char> buffer(length * 2 + 2);
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutA(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()), SMTO_NORMAL,
                               kWindowReplyTimeoutMs, &copied))
        return std::string();
    return std::string(buffer.data(), copied);
}

bool SetText(HWND window, const std::string& text)
{
    DWORD_PTR ignored = 0;
    return ::SendMessageTimeoutA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL,
                                 kWindowReplyTimeoutMs, &ignored) != 0;
}

std::string ClassOf(HWND window)
{
    char name[256] = {};
    const int length = ::GetClassNameA(window, name, sizeof name);
    return std::string(name, length > 0 ? static_cast<size_t>(length) : 0);
}

DWORD StyleOf(HWND window) { return static_cast<DWORD>(::GetWindowLongA(window, GWL_STYLE)); }

RECT RectIn(HWND window, HWND reference)
{
    RECT rect = {};
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(HWND_DESKTOP, reference, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool IsDialog(HWND window) { return ClassOf(window) == "#32770"; }

bool IsCheckBox(HWND window)
{
    const UINT type = ButtonType(window);
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE;
}

bool IsPushButton(HWND window)
{
    const UINT type = ButtonType(window);
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

std::string WithLineFeeds(const std::string& text)
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

// ---- Finding windows -------------------------------------------------------

std::vector<HWND> Descendants(HWND parent)
{
    std::vector<HWND> windows;
    ::EnumChildWindows(parent, CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

HWND FindDescendant(HWND parent, const std::function<bool(HWND)>& match, size_t n)
{
    for (HWND window : Descendants(parent)) {
        if (match(window) && n-- == 0)
            return window;
    }
    return nullptr;
}

HWND FindChild(HWND parent, const std::string& className, const std::string& text)
{
    return FindDescendant(parent, [&](HWND window) {
        return (className.empty() || ClassOf(window) == className) && (text.empty() || TextOf(window) == text);
    });
}

HWND FindThreadWindow(DWORD threadId, const std::function<bool(HWND)>& match)
{
    std::vector<HWND> windows;
    ::EnumThreadWindows(threadId, CollectWindow, reinterpret_cast<LPARAM>(&windows));
    for (HWND window : windows) {
        if (::IsWindowVisible(window) && match(window))
            return window;
    }
    return nullptr;
}

// ---- Driving windows -------------------------------------------------------

void PostCommand(HWND window, int id, int notifyCode, HWND control)
{
    ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, notifyCode), reinterpret_cast<LPARAM>(control));
}

void Click(HWND button) { ::PostMessageA(button, BM_CLICK, 0, 0); }

void PostClicked(HWND button) { PostCommand(::GetParent(button), ::GetDlgCtrlID(button), BN_CLICKED, button); }

void AnswerDialog(HWND dialog, int buttonId) { PostCommand(dialog, buttonId, BN_CLICKED, ::GetDlgItem(dialog, buttonId)); }

bool SetCheck(HWND button, bool checked)
{
    if (!SendBounded(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0))
        return false;
    PostClicked(button);
    return true;
}

bool IsChecked(HWND button)
{
    DWORD_PTR state = 0;
    return SendBounded(button, BM_GETCHECK, 0, 0, &state) && state == BST_CHECKED;
}

bool SelectComboItem(HWND combo, int index)
{
    DWORD_PTR result = 0;
    if (!SendBounded(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0, &result) || static_cast<int>(result) != index)
        return false;
    PostCommand(::GetParent(combo), ::GetDlgCtrlID(combo), CBN_SELCHANGE, combo);
    return true;
}

#include "framework/Wnd.h"

#include <shellapi.h>

#include <unordered_map>
#include <vector>

#include "common/Diag.h"
#include "framework/WinApp.h"

namespace {

// Which object handles each window. Looked up for every message, so it is
// kept in our own memory: a window property costs a round trip to the
// window server on some systems, several per moved or resized control.
// Windows are created, bound, routed and destroyed on the one user-interface
// thread (the system calls a window procedure on the thread that created the
// window; other threads reach our windows only by sending or posting
// messages), so the map needs no lock.
class WindowObjects {
public:
    CWnd* Find(HWND hWnd) const
    {
        auto found = m_objects.find(hWnd);
        return found != m_objects.end() ? found->second : nullptr;
    }
    void Bind(HWND hWnd, CWnd* object) { m_objects[hWnd] = object; }
    void Unbind(HWND hWnd) { m_objects.erase(hWnd); }

private:
    std::unordered_map<HWND, CWnd*> m_objects;
};

WindowObjects& Objects()
{
    static WindowObjects objects;
    return objects;
}

// The message being handled, so that Default() can pass it on unchanged.
struct CurrentMessage {
    HWND hWnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
CurrentMessage g_current = {};

}  // namespace

CWnd::CWnd() = default;

CWnd::~CWnd()
{
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd) && FromHandlePermanent(m_hWnd) == this)
        ::DestroyWindow(m_hWnd);
    Unbind();
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    if (hWnd == nullptr)
        return nullptr;
    return Objects().Find(hWnd);
}

BOOL CWnd::CreateEx(DWORD exStyle, const char* className, const char* text, DWORD style,
                    const RECT& rect, CWnd* parent, UINT id)
{
    HWND hWnd = ::CreateWindowExA(exStyle, className, text ? text : "", style, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top,
                                  parent ? parent->m_hWnd : nullptr,
                                  (style & WS_CHILD) ? (HMENU)(UINT_PTR)id : nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
    if (hWnd == nullptr)
        return FALSE;
    return SubclassWindow(hWnd);
}

BOOL CWnd::Create(const char* className, const char* text, DWORD style, const RECT& rect,
                  CWnd* parent, UINT id)
{
    return CreateEx(0, className, text, style, rect, parent, id);
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (hWnd == nullptr || m_hWnd != nullptr)
        return FALSE;
    m_hWnd = hWnd;
    Objects().Bind(hWnd, this);
    // Keep the window's character set: a Unicode control (rich edit) stays
    // Unicode, so its messages pass through without conversion.
    m_unicodeProc = ::IsWindowUnicode(hWnd) != FALSE;
    if (m_unicodeProc)
        m_superProc = (WNDPROC)::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, (LONG_PTR)StaticWndProc);
    else
        m_superProc = (WNDPROC)::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)StaticWndProc);
    return TRUE;
}

void CWnd::Unbind()
{
    if (m_hWnd == nullptr)
        return;
    // The entry goes even when the window is already gone: its handle may
    // be given to a new window later.
    if (FromHandlePermanent(m_hWnd) == this) {
        if (m_superProc != nullptr && ::IsWindow(m_hWnd)) {
            if (m_unicodeProc)
                ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, (LONG_PTR)m_superProc);
            else
                ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, (LONG_PTR)m_superProc);
        }
        Objects().Unbind(m_hWnd);
    }
    m_hWnd = nullptr;
    m_superProc = nullptr;
}

BOOL CWnd::DestroyWindow()
{
    if (m_hWnd == nullptr)
        return FALSE;
    HWND hWnd = m_hWnd;
    BOOL destroyed = ::DestroyWindow(hWnd);
    // A window that was not ours to route (or already gone) is released here.
    if (m_hWnd == hWnd)
        Unbind();
    return destroyed;
}

std::string WindowText(HWND window)
{
    int length = ::GetWindowTextLengthA(window);
    if (length <= 0)
        return std::string();
    std::vector<char> buffer(static_cast<size_t>(length) + 1);
    int copied = ::GetWindowTextA(window, buffer.data(), length + 1);
    return std::string(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}

std::string CWnd::GetWindowText() const { return WindowText(m_hWnd); }

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags)
{
    DWORD style = GetStyle();
    DWORD newStyle = (style & ~remove) | add;
    if (style == newStyle)
        return FALSE;
    ::SetWindowLongA(m_hWnd, GWL_STYLE, (LONG)newStyle);
    if (swpFlags != 0)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    return TRUE;
}

void CWnd::DragAcceptFiles(BOOL accept) { ::DragAcceptFiles(m_hWnd, accept); }

int CWnd::MessageBox(const std::string& text, const std::string& caption, UINT type)
{
    return ShowMessageBox(m_hWnd, text, caption, type);
}

const MessageMap* CWnd::GetMessageMap() const
{
    static const MessageMapEntry entries[] = { { 0, 0, 0, 0, nullptr } };
    static const MessageMap map = { nullptr, entries };
    return &map;
}

bool CWnd::DispatchToMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    const UINT code = HIWORD(wParam);
    const UINT id = LOWORD(wParam);
    for (const MessageMap* map = GetMessageMap(); map != nullptr; map = map->base) {
        for (const MessageMapEntry* entry = map->entries; entry->invoke != nullptr; ++entry) {
            if (entry->message != message)
                continue;
            if (message == WM_COMMAND &&
                (entry->code != code || id < entry->firstId || id > entry->lastId))
                continue;
            *result = entry->invoke(this, wParam, lParam);
            return true;
        }
    }
    return false;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    LRESULT ignored = 0;
    return DispatchToMap(WM_COMMAND, wParam, lParam, &ignored) ? TRUE : FALSE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND) {
        if (OnCommand(wParam, lParam))
            return 0;
        return DefWindowProc(message, wParam, lParam);
    }
    LRESULT result = 0;
    if (DispatchToMap(message, wParam, lParam, &result))
        return result;
    return DefWindowProc(message, wParam, lParam);
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_superProc != nullptr) {
        return m_unicodeProc ? ::CallWindowProcW(m_superProc, m_hWnd, message, wParam, lParam)
                             : ::CallWindowProcA(m_superProc, m_hWnd, message, wParam, lParam);
    }
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    return DefWindowProc(g_current.message, g_current.wParam, g_current.lParam);
}

LRESULT CALLBACK CWnd::StaticWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = FromHandlePermanent(hWnd);
    if (wnd == nullptr)
        return ::DefWindowProcA(hWnd, message, wParam, lParam);

    const CurrentMessage saved = g_current;
    g_current = { hWnd, message, wParam, lParam };
    LRESULT result = 0;
    // No exception may unwind through the system's code that called us.
    try {
        result = wnd->WindowProc(message, wParam, lParam);
    } catch (...) {
        DiagCaughtException("handling a window message");
        result = 0;
    }
    g_current = saved;

    if (message == WM_NCDESTROY) {
        wnd->Unbind();
        wnd->PostNcDestroy();
    }
    return result;
}

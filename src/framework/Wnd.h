#pragma once
// CWnd: an object bound to one window handle. Windows created through
// CWnd (or bound with SubclassWindow) run through our window procedure, which
// routes messages through the class's message map and falls back to the
// window's original procedure (Default).

#include <windows.h>

#include <string>

#include "framework/MessageMap.h"
#include "framework/Object.h"

// The text of any window, ours or not.
std::string WindowText(HWND window);

class CWnd : public CObject {
public:
    CWnd();
    // Destroys the window if it still exists. By then only the CWnd part of
    // the object is left, so a derived class's own WM_DESTROY handling does
    // not run: an object with handling of its own is held as an
    // OwnedWindow, or its owner destroys the window first.
    ~CWnd() override;

    HWND m_hWnd = nullptr;
    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The CWnd bound to a window by Create or SubclassWindow, or null.
    static CWnd* FromHandlePermanent(HWND hWnd);

    // Creation and binding.
    BOOL CreateEx(DWORD exStyle, const char* className, const char* text, DWORD style,
                  const RECT& rect, CWnd* parent, UINT id);
    BOOL Create(const char* className, const char* text, DWORD style, const RECT& rect,
                CWnd* parent, UINT id);
    BOOL SubclassWindow(HWND hWnd);
    BOOL DestroyWindow();
    BOOL IsWindow() const { return m_hWnd != nullptr && ::IsWindow(m_hWnd); }

    // Thin wrappers.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    { return ::SendMessageA(m_hWnd, message, wParam, lParam); }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    { return ::PostMessageA(m_hWnd, message, wParam, lParam); }
    void SetWindowText(const std::string& text) { ::SetWindowTextA(m_hWnd, text.c_str()); }
    std::string GetWindowText() const;
    int GetWindowTextLength() const { return ::GetWindowTextLengthA(m_hWnd); }
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE)
    { ::MoveWindow(m_hWnd, x, y, width, height, repaint); }
    BOOL SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags)
    { return ::SetWindowPos(m_hWnd, insertAfter, x, y, cx, cy, flags); }
    void GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }
    void GetWindowRect(RECT* rect) const { ::GetWindowRect(m_hWnd, rect); }
    void ClientToScreen(POINT* point) const { ::ClientToScreen(m_hWnd, point); }
    void ScreenToClient(POINT* point) const { ::ScreenToClient(m_hWnd, point); }
    BOOL ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    HWND SetFocus() { return ::SetFocus(m_hWnd); }
    DWORD GetStyle() const { return (DWORD)::GetWindowLongA(m_hWnd, GWL_STYLE); }
    DWORD GetExStyle() const { return (DWORD)::GetWindowLongA(m_hWnd, GWL_EXSTYLE); }
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0);
    void SetFont(HFONT font, BOOL redraw = TRUE) { SendMessage(WM_SETFONT, (WPARAM)font, redraw); }
    HFONT GetFont() const { return (HFONT)SendMessage(WM_GETFONT); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    HWND GetParent() const { return ::GetParent(m_hWnd); }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse) { return ::SetTimer(m_hWnd, id, elapse, nullptr); }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
    HMENU GetSystemMenu(BOOL revert) const { return ::GetSystemMenu(m_hWnd, revert); }
    void DragAcceptFiles(BOOL accept = TRUE);
    // A message box owned by this window (goes through the message-box hook).
    int MessageBox(const std::string& text, const std::string& caption, UINT type);

    // Message routing.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // WM_COMMAND: true when a message-map entry handled it.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // Called by modal loops before a message is dispatched; true consumes it.
    virtual BOOL PreTranslateMessage(MSG* msg);

protected:
    virtual const MessageMap* GetMessageMap() const;
    // Default processing of the message being handled right now.
    LRESULT Default();
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The window is gone (WM_NCDESTROY); the object may still live on.
    virtual void PostNcDestroy() {}

private:
    static LRESULT CALLBACK StaticWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    bool DispatchToMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    void Unbind();

    WNDPROC m_superProc = nullptr;
    bool m_unicodeProc = false;
};

// A window object whose window is destroyed by the object's first destructor,
// while every class of the object (and every member window object, whose
// windows are children of this one) is still whole, so each class's own
// WM_DESTROY and WM_NCDESTROY handling runs. Being final, it is always the
// most-derived class.
template <class Window>
class OwnedWindow final : public Window {
public:
    using Window::Window;
    ~OwnedWindow() override
    {
        if (this->IsWindow())
            this->DestroyWindow();
    }
};

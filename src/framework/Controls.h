#pragma once
// The standard controls the program creates, each a CWnd with the few
// wrappers the program uses, and a font object that owns its handle.

#include "framework/Wnd.h"

// The system's font for dialog controls (a stock object, never deleted).
inline HFONT GuiFont() { return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)); }

class CButton : public CWnd {
public:
    BOOL Create(const std::string& text, DWORD style, const RECT& rect, CWnd* parent, UINT id)
    { return CWnd::Create("BUTTON", text.c_str(), style, rect, parent, id); }
    int GetCheck() const { return (int)SendMessage(BM_GETCHECK); }
    void SetCheck(int check) { SendMessage(BM_SETCHECK, (WPARAM)check); }
};

class CEdit : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    { return CWnd::Create("EDIT", "", style, rect, parent, id); }
};

class CStatic : public CWnd {
public:
    BOOL Create(const std::string& text, DWORD style, const RECT& rect, CWnd* parent, UINT id)
    { return CWnd::Create("STATIC", text.c_str(), style, rect, parent, id); }
};

class CComboBox : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    { return CWnd::Create("COMBOBOX", "", style, rect, parent, id); }
    int AddString(const std::string& text) { return (int)SendMessage(CB_ADDSTRING, 0, (LPARAM)text.c_str()); }
    int SetCurSel(int index) { return (int)SendMessage(CB_SETCURSEL, (WPARAM)index); }
    int GetCurSel() const { return (int)SendMessage(CB_GETCURSEL); }
    int GetCount() const { return (int)SendMessage(CB_GETCOUNT); }
    std::string GetLBText(int index) const;
};

class CScrollBar : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
    { return CWnd::Create("SCROLLBAR", "", style, rect, parent, id); }
    BOOL GetScrollInfo(SCROLLINFO* info, UINT mask = SIF_ALL) const
    { info->cbSize = sizeof(SCROLLINFO); info->fMask = mask; return ::GetScrollInfo(m_hWnd, SB_CTL, info); }
    int SetScrollInfo(SCROLLINFO* info, BOOL redraw = TRUE)
    { info->cbSize = sizeof(SCROLLINFO); return ::SetScrollInfo(m_hWnd, SB_CTL, info, redraw); }
};

// The rich-edit control of the console and the quick start; bound to the
// template's control with DDX_Control.
class CRichEditCtrl : public CWnd {
public:
    void GetSel(long& start, long& end) const;
    void SetSel(long start, long end);
    long GetTextLength() const;  // characters, as the control counts them
    long LineFromChar(long charIndex) const;  // -1: the caret's line
    long LineIndex(long line) const;          // first character of a line
    int GetFirstVisibleLine() const;
    int GetLineCount() const;
    void LineScroll(int lines);
    void LimitText(long maxCharacters);
    void HideSelection(BOOL hide);
};

// Owns a GDI font handle.
class CFont {
public:
    CFont() = default;
    ~CFont() { DeleteObject(); }
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;
    // pointSize in tenths of a point, for `dpi` (0: the screen's).
    BOOL CreatePointFont(int pointSize, const char* faceName, int dpi = 0);
    void DeleteObject();
    HFONT GetSafeHandle() const { return m_hFont; }
    operator HFONT() const { return m_hFont; }

private:
    HFONT m_hFont = nullptr;
};

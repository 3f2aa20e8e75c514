#pragma once
// Declarative message maps: one table per window class, searched in order,
// then the base class's table. A table reads like the list of messages and
// command ranges the class answers:
//
//   BEGIN_MESSAGE_MAP(CMyDlg, CDialog)
//       ON_WM_SIZE()
//       ON_COMMAND(IDOK, OnRun)
//       ON_COMMAND_RANGE(3000, 3100, OnBrowse)
//       ON_CONTROL_RANGE(EN_CHANGE, 8000, 9000, OnEditChange)
//   END_MESSAGE_MAP()
//
// Each ON_... entry cracks the message parameters for a handler of a fixed
// name and signature, as listed beside the macro.

#include <windows.h>

class CWnd;

struct MessageMapEntry {
    UINT message;   // WM_... (WM_COMMAND for command and control entries)
    UINT code;      // notification code for WM_COMMAND entries (BN_CLICKED = 0)
    UINT firstId;   // command id range, inclusive (WM_COMMAND entries only)
    UINT lastId;
    LRESULT (*invoke)(CWnd* self, WPARAM wParam, LPARAM lParam);
};

struct MessageMap {
    const MessageMap* base;
    const MessageMapEntry* entries;  // ends with an entry whose invoke is null
};

#define DECLARE_MESSAGE_MAP() \
protected:                    \
    const MessageMap* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                 \
    const MessageMap* theClass::GetMessageMap() const          \
    {                                                          \
        using ThisClass = theClass;                            \
        const MessageMap* baseMap = baseClass::GetMessageMap(); \
        static const MessageMapEntry entries[] = {

#define END_MESSAGE_MAP()                          \
    { 0, 0, 0, 0, nullptr } };                     \
        static const MessageMap map = { baseMap, entries }; \
        return &map;                               \
    }

#define TAVREL_SELF static_cast<ThisClass*>(self)

// void fn()
#define ON_COMMAND(id, fn) \
    { WM_COMMAND, BN_CLICKED, (UINT)(id), (UINT)(id), [](CWnd* self, WPARAM, LPARAM) -> LRESULT { TAVREL_SELF->fn(); return 0; } },
// void fn(UINT id)
#define ON_COMMAND_RANGE(first, last, fn) \
    { WM_COMMAND, BN_CLICKED, (UINT)(first), (UINT)(last), [](CWnd* self, WPARAM w, LPARAM) -> LRESULT { TAVREL_SELF->fn(LOWORD(w)); return 0; } },
// void fn(UINT id)
#define ON_CONTROL_RANGE(code, first, last, fn) \
    { WM_COMMAND, (UINT)(code), (UINT)(first), (UINT)(last), [](CWnd* self, WPARAM w, LPARAM) -> LRESULT { TAVREL_SELF->fn(LOWORD(w)); return 0; } },
// LRESULT fn(WPARAM, LPARAM)
#define ON_MESSAGE(msg, fn) \
    { (UINT)(msg), 0, 0, 0, [](CWnd* self, WPARAM w, LPARAM l) -> LRESULT { return TAVREL_SELF->fn(w, l); } },
// void OnSysCommand(UINT id, LPARAM lParam)
#define ON_WM_SYSCOMMAND() \
    { WM_SYSCOMMAND, 0, 0, 0, [](CWnd* self, WPARAM w, LPARAM l) -> LRESULT { TAVREL_SELF->OnSysCommand((UINT)w, l); return 0; } },
// void OnPaint()
#define ON_WM_PAINT() \
    { WM_PAINT, 0, 0, 0, [](CWnd* self, WPARAM, LPARAM) -> LRESULT { TAVREL_SELF->OnPaint(); return 0; } },
// HCURSOR OnQueryDragIcon()
#define ON_WM_QUERYDRAGICON() \
    { WM_QUERYDRAGICON, 0, 0, 0, [](CWnd* self, WPARAM, LPARAM) -> LRESULT { return (LRESULT)TAVREL_SELF->OnQueryDragIcon(); } },
// void OnVScroll(UINT code, UINT position, HWND scrollBar)
#define ON_WM_VSCROLL() \
    { WM_VSCROLL, 0, 0, 0, [](CWnd* self, WPARAM w, LPARAM l) -> LRESULT { TAVREL_SELF->OnVScroll(LOWORD(w), HIWORD(w), (HWND)l); return 0; } },
// void OnSize(UINT type, int cx, int cy)
#define ON_WM_SIZE() \
    { WM_SIZE, 0, 0, 0, [](CWnd* self, WPARAM w, LPARAM l) -> LRESULT { TAVREL_SELF->OnSize((UINT)w, (short)LOWORD(l), (short)HIWORD(l)); return 0; } },
// void OnTimer(UINT_PTR id)
#define ON_WM_TIMER() \
    { WM_TIMER, 0, 0, 0, [](CWnd* self, WPARAM w, LPARAM) -> LRESULT { TAVREL_SELF->OnTimer((UINT_PTR)w); return 0; } },
// void OnSetFocus(HWND oldFocus)
#define ON_WM_SETFOCUS() \
    { WM_SETFOCUS, 0, 0, 0, [](CWnd* self, WPARAM w, LPARAM) -> LRESULT { TAVREL_SELF->OnSetFocus((HWND)w); return 0; } },
// void OnKillFocus(HWND newFocus)
#define ON_WM_KILLFOCUS() \
    { WM_KILLFOCUS, 0, 0, 0, [](CWnd* self, WPARAM w, LPARAM) -> LRESULT { TAVREL_SELF->OnKillFocus((HWND)w); return 0; } },
// void OnDropFiles(HDROP drop)
#define ON_WM_DROPFILES() \
    { WM_DROPFILES, 0, 0, 0, [](CWnd* self, WPARAM w, LPARAM) -> LRESULT { TAVREL_SELF->OnDropFiles((HDROP)w); return 0; } },
// UINT OnGetDlgCode()
#define ON_WM_GETDLGCODE() \
    { WM_GETDLGCODE, 0, 0, 0, [](CWnd* self, WPARAM, LPARAM) -> LRESULT { return (LRESULT)TAVREL_SELF->OnGetDlgCode(); } },

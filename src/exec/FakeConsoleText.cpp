// The console window's append path: every piece of text goes through the
// line discipline into the rich-edit control.

#include <richedit.h>

#include <algorithm>

#include "exec/ConsoleLineDiscipline.h"
#include "exec/FakeConsoleDlg.h"
#include "exec/FontMetrics.h"
#include "framework/WideText.h"

namespace {

constexpr UINT kUtf16 = 1200;
// The view follows new output only while its bottom is this close (in
// lines) to the end, so that someone reading further up is not pulled down.
constexpr int kFollowSlackLines = 3;

// Setting the selection can cost a walk through the whole text in some
// rich-edit implementations, and after an append the caret is normally at
// the end already.
void SelectEnd(CRichEditCtrl& control)
{
    const long length = control.GetTextLength();
    long start = 0, end = 0;
    control.GetSel(start, end);
    if (start != length || end != length)
        control.SetSel(length, length);
}

void SelectCaretLineToEnd(CRichEditCtrl& control)
{
    const long line = control.LineFromChar(-1);
    control.SetSel(control.LineIndex(line), control.GetTextLength());
}

int FontHeight(CRichEditCtrl& control, HFONT fallback)
{
    // Not every rich-edit implementation answers WM_GETFONT; the font it
    // was given is then the one it shows.
    HFONT font = control.GetFont();
    return MeasureFont(control, font != nullptr ? font : fallback).tmHeight;
}

// Where the view stood before an append, so that the append can keep it.
struct ViewBeforeAppend {
    int firstVisible;
    bool nearEnd;
};

// Decided before the text is written: measured afterwards, a piece of more
// than three lines would count as "far from the end" and the view would
// stop following the output it was following.
ViewBeforeAppend TakeView(CRichEditCtrl& control, HFONT font)
{
    const int firstVisible = control.GetFirstVisibleLine();
    const int lineCount = control.GetLineCount();
    RECT client;
    control.GetClientRect(&client);
    const int visibleLines = (client.bottom - client.top) / std::max(1, FontHeight(control, font));
    return { firstVisible, visibleLines + firstVisible + kFollowSlackLines >= lineCount };
}

// The control may scroll to the caret by itself while text is written;
// someone reading further up must not be moved.
void FollowEndOrKeepView(CRichEditCtrl& control, const ViewBeforeAppend& view)
{
    if (view.nearEnd)
        control.LineScroll(control.GetLineCount());
    else
        control.LineScroll(view.firstVisible - control.GetFirstVisibleLine());
}

// The control holds at most the text limit; one piece may fill this much
// of it.
long RoomForOnePiece(long textLimit) { return textLimit / 4 * 3; }

// What stays when the control is full: the newest 32nd of the limit (some
// 4,500 lines of 72 characters at the usual limit), so that trimming, which
// costs about what appending the kept text costs, is quick; the control
// fills up again before the next one.
long KeptAfterTrimming(long textLimit) { return textLimit / 32; }

constexpr size_t kRefillPiece = 65536;

std::wstring TextFrom(CRichEditCtrl& control, long from, long to)
{
    if (to <= from)
        return std::wstring();
    std::wstring text(static_cast<size_t>(to - from) + 1, L'\0');
    TEXTRANGEW range = { { from, to }, &text[0] };
    const LRESULT copied = ::SendMessageW(control.m_hWnd, EM_GETTEXTRANGE, 0, (LPARAM)&range);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

// Replaces what was removed from the top of a full control.
constexpr char kTrimmedMarker[] = "***** Older output removed: the console keeps the newest output *****\r\n";

// A piece larger than the room it may take (held back behind a long
// selection, say) keeps its newest whole lines, appended to an emptied
// control. True when it had to be cut.
bool KeepNewest(ConsoleWrite& write, long room)
{
    if (static_cast<long>(write.text.size()) <= room)
        return false;
    const size_t lineEnd = write.text.find('\n', write.text.size() - static_cast<size_t>(room));
    write.text.erase(0, lineEnd == std::string::npos ? write.text.size() : lineEnd + 1);
    write.replaceCaretLine = false;
    return true;
}

}  // namespace

void FakeConsoleDlg::AppendOutput(const std::string& text)
{
    if (!outputCtrl.IsWindow())
        return;
    AppendText(text);
    CheckAutoGrow();
}

void FakeConsoleDlg::AppendText(const std::string& text)
{
    if (!outputCtrl.IsWindow())
        return;
    ConsoleLineDiscipline& lines = ConsoleLines();
    long start = 0, end = 0;
    outputCtrl.GetSel(start, end);
    if (start != end) {
        lines.Hold(text);  // writing now would replace what the user selected
        return;
    }

    std::vector<ConsoleWrite> writes = lines.Take(text);
    if (writes.empty())
        return;
    // The discipline makes one write of a piece.
    bool cut = false;
    long incoming = 0;
    for (ConsoleWrite& write : writes) {
        cut = KeepNewest(write, RoomForOnePiece(textLimit)) || cut;
        incoming += static_cast<long>(write.text.size());
    }
    const ViewBeforeAppend view = TakeView(outputCtrl, consoleFont);
    outputCtrl.SendMessage(WM_SETREDRAW, FALSE);
    TrimOldestFor(incoming, cut);
    for (const ConsoleWrite& write : writes) {
        if (write.replaceCaretLine)
            SelectCaretLineToEnd(outputCtrl);
        else
            SelectEnd(outputCtrl);
        ReplaceSelection(write.text);
    }
    SelectEnd(outputCtrl);
    // Scrolled while drawing is off, the view moves without a repaint of
    // its own; the one invalidation below paints the result.
    FollowEndOrKeepView(outputCtrl, view);
    outputCtrl.SendMessage(WM_SETREDRAW, TRUE);
    outputCtrl.Invalidate(TRUE);
}

void FakeConsoleDlg::TrimOldestFor(long incoming, bool pieceCut)
{
    const long length = outputCtrl.GetTextLength();
    if (!pieceCut && length + incoming <= textLimit)
        return;
    // Everything shown is older than what a cut piece lost.
    long cut = length;
    if (!pieceCut) {
        cut = std::max(0L, length - KeptAfterTrimming(textLimit));
        const long line = outputCtrl.LineFromChar(cut);
        if (outputCtrl.LineIndex(line) != cut) {
            const long nextLine = outputCtrl.LineIndex(line + 1);
            cut = nextLine >= 0 ? nextLine : length;
        }
    }
    std::wstring kept = TextFrom(outputCtrl, cut, length);
    if (!RefillOutputControl(ToWide(kTrimmedMarker, CP_UTF8) + kept)) {
        outputCtrl.SetSel(0, cut);
        ReplaceSelection(kTrimmedMarker);
    }
    SelectEnd(outputCtrl);
}

// Removing lines from the top of a full control can take minutes with some
// rich-edit implementations (every following line is renumbered for each
// line removed), so a new control takes the place of the old one and gets
// the text that stays, in the time an append of that text takes.
bool FakeConsoleDlg::RefillOutputControl(const std::wstring& text)
{
    const HWND old = outputCtrl.m_hWnd;
    RECT place;
    ::GetWindowRect(old, &place);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&place), 2);
    const HWND fresh = ::CreateWindowExW(
        static_cast<DWORD>(::GetWindowLongW(old, GWL_EXSTYLE)), L"RichEdit20W", L"",
        static_cast<DWORD>(::GetWindowLongW(old, GWL_STYLE)), place.left, place.top, place.right - place.left,
        place.bottom - place.top, m_hWnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(::GetDlgCtrlID(old))),
        ::GetModuleHandleW(nullptr), nullptr);
    if (fresh == nullptr)
        return false;
    ::SetWindowPos(fresh, old, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::SendMessageW(fresh, WM_SETFONT, ::SendMessageW(old, WM_GETFONT, 0, 0), FALSE);
    ::SendMessageW(fresh, EM_EXLIMITTEXT, 0, textLimit);
    ::SendMessageW(fresh, WM_SETREDRAW, FALSE, 0);
    const bool focused = ::GetFocus() == old;
    outputCtrl.DestroyWindow();
    outputCtrl.SubclassWindow(fresh);
    if (focused)
        outputCtrl.SetFocus();
    // In pieces at the end: one insertion of megabytes costs far more.
    for (size_t at = 0; at < text.size(); at += kRefillPiece) {
        SelectEnd(outputCtrl);
        const std::wstring piece = text.substr(at, kRefillPiece);
        SETTEXTEX how = { ST_SELECTION, kUtf16 };
        outputCtrl.SendMessage(EM_SETTEXTEX, (WPARAM)&how, (LPARAM)piece.c_str());
    }
    return true;
}

void FakeConsoleDlg::ReplaceSelection(const std::string& text)
{
    if (text.empty())
        return;
    const std::wstring wide = ToWide(text, CP_UTF8);
    if (wide.empty())
        return;
    SETTEXTEX how = { ST_SELECTION, kUtf16 };
    outputCtrl.SendMessage(EM_SETTEXTEX, (WPARAM)&how, (LPARAM)wide.c_str());
}

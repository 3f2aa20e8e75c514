// The console window's append path: every piece of text goes through the
// line discipline into the rich-edit control.

#include <richedit.h>

#include <algorithm>

#include "exec/ConsoleLineDiscipline.h"
#include "exec/FakeConsoleDlg.h"
#include "exec/FontMetrics.h"

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
// of it, and trimming leaves the same room free.
long RoomForOnePiece(long textLimit) { return textLimit / 4 * 3; }

// Replaces what was removed from the top of a full control.
constexpr char kTrimmedMarker[] = "***** Older output removed: the console keeps the newest output *****\r\n";

// A piece larger than the room it may take (held back behind a long
// selection, say) keeps its newest lines; what it loses counts as trimmed.
long KeepNewest(std::vector<ConsoleWrite>& writes, long room, bool& dropped)
{
    dropped = false;
    long total = 0;
    for (const ConsoleWrite& write : writes)
        total += static_cast<long>(write.text.size());
    if (total <= room)
        return total;
    long kept = 0;
    size_t first = writes.size();
    while (first > 0 && kept + static_cast<long>(writes[first - 1].text.size()) <= room)
        kept += static_cast<long>(writes[--first].text.size());
    if (first > 0) {
        // Part of this write fits: its newest whole lines.
        std::string& text = writes[first - 1].text;
        size_t from = text.size() - static_cast<size_t>(room - kept);
        const size_t lineStart = text.find('\n', from);
        from = lineStart == std::string::npos ? text.size() : lineStart + 1;
        text.erase(0, from);
        writes[first - 1].replaceCaretLine = false;
        kept += static_cast<long>(text.size());
        --first;
    }
    writes.erase(writes.begin(), writes.begin() + static_cast<long>(first));
    dropped = true;
    // The control is emptied for this piece; nothing is replaced in it.
    if (!writes.empty())
        writes.front().replaceCaretLine = false;
    return kept;
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
    bool dropped = false;
    const long incoming = KeepNewest(writes, RoomForOnePiece(textLimit), dropped);
    const ViewBeforeAppend view = TakeView(outputCtrl, consoleFont);
    outputCtrl.SendMessage(WM_SETREDRAW, FALSE);
    TrimOldestFor(incoming, dropped);
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
    // Room for more than this piece, so that trimming is not repeated at
    // every append once the control is full.
    const long keep = std::max(0L, RoomForOnePiece(textLimit) - incoming);
    // Everything shown is older than what a cut piece lost.
    long cut = pieceCut ? length : length - keep;
    const long line = outputCtrl.LineFromChar(cut);
    const long nextLine = outputCtrl.LineIndex(line + 1);
    if (outputCtrl.LineIndex(line) != cut)
        cut = nextLine >= 0 ? nextLine : length;
    outputCtrl.SetSel(0, cut);
    ReplaceSelection(kTrimmedMarker);
    SelectEnd(outputCtrl);
}

void FakeConsoleDlg::ReplaceSelection(const std::string& text)
{
    if (text.empty())
        return;
    const int length = static_cast<int>(text.size());
    const int wideLength = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
    if (wideLength <= 0)
        return;
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), length, &wide[0], wideLength);
    SETTEXTEX how = { ST_SELECTION, kUtf16 };
    outputCtrl.SendMessage(EM_SETTEXTEX, (WPARAM)&how, (LPARAM)wide.c_str());
}

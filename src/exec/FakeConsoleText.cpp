// The console window's append path: every piece of text goes through the
// line discipline into the transcript and the rich-edit control.

#include <richedit.h>

#include <algorithm>

#include "exec/ConsoleLineDiscipline.h"
#include "exec/FakeConsoleDlg.h"
#include "exec/FontMetrics.h"
#include "framework/MonotonicClock.h"
#include "framework/WideText.h"

namespace {

constexpr UINT kUtf16 = 1200;
constexpr UINT kHeldOutputPeriodMs = 100;
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

// Replaces what was removed from the top of a full control.
constexpr char kTrimmedMarker[] = "***** Older output removed: the console keeps the newest output *****\r\n";

// What stays when the control is full: the newest three quarters of the
// limit, less what is about to come in and the marker.
long KeptAfterTrimming(long textLimit, long incoming)
{
    const long marker = static_cast<long>(sizeof kTrimmedMarker);
    return std::max(0L, std::min(textLimit / 4 * 3, textLimit - incoming - marker));
}

constexpr size_t kRefillPiece = 65536;
// A trim fills the new control for about this long per tick (some 60 ms of
// a 100 ms period), then lets the window answer again.
constexpr double kRefillSecondsPerTick = 0.060;
constexpr UINT kRefillPeriodMs = 30;

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
    std::vector<ConsoleWrite> writes = lines.Take(text);
    if (writes.empty())
        return;
    if (transcript) {
        for (const ConsoleWrite& write : writes)
            transcript->Apply({ WithoutStyleSequences(write.text), write.replaceCaretLine });
    }
    echoedAtEnd = 0;
    ShowWrites(std::move(writes));
}

bool FakeConsoleDlg::SelectionIsEmpty()
{
    long start = 0, end = 0;
    outputCtrl.GetSel(start, end);
    return start == end;
}

void FakeConsoleDlg::ShowWrites(std::vector<ConsoleWrite> writes)
{
    if (skippingView) {
        // Older than what the view will show: gone from the view, which
        // goes on at the next line.
        heldWrites.clear();
        viewCut = true;
        viewSkippedMidLine = true;
        return;
    }
    // The rest of a line cut by skipping is left out, unless it is a long
    // one, which the view shows continued anyway.
    if (viewSkippedMidLine && !writes.empty()) {
        std::string& text = writes.front().text;
        const size_t lineEnd = text.find('\n');
        if (lineEnd < kMaxShownLineLength)
            text.erase(0, lineEnd + 1);
        writes.front().replaceCaretLine = false;
        viewSkippedMidLine = false;
    }
    heldWrites.insert(heldWrites.end(), writes.begin(), writes.end());
    heldWrites = MergedWrites(heldWrites);
    if (!SelectionIsEmpty()) {
        // Writing now would replace what the user selected. What the view
        // could not hold anyway goes the way trimmed output goes.
        for (ConsoleWrite& write : heldWrites)
            viewCut = KeepNewest(write, RoomForOnePiece(textLimit)) || viewCut;
        SetTimer(kHeldOutputTimer, kHeldOutputPeriodMs);
        return;
    }
    FlushHeldOutput();
}

void FakeConsoleDlg::FlushHeldOutput()
{
    if (!outputCtrl.IsWindow() || (!heldWrites.empty() && !SelectionIsEmpty()))
        return;
    KillTimer(kHeldOutputTimer);
    if (heldWrites.empty())
        return;
    // A full view is trimmed by a new control filled a piece at a time, so
    // that no single tick takes long; the output waits meanwhile.
    // Output held meanwhile may need another trim once one is done.
    for (int trims = 0; trims < 2; ++trims) {
        if (refill.control == nullptr && !viewCut) {
            long incoming = 0;
            for (const ConsoleWrite& write : heldWrites)
                incoming += static_cast<long>(write.text.size());
            if (incoming <= RoomForOnePiece(textLimit) && outputCtrl.GetTextLength() + incoming > textLimit)
                StartRefill(incoming);
        }
        if (refill.control == nullptr)
            break;
        if (!ContinueRefill()) {
            for (ConsoleWrite& write : heldWrites)
                viewCut = KeepNewest(write, RoomForOnePiece(textLimit)) || viewCut;
            SetTimer(kHeldOutputTimer, kRefillPeriodMs);
            return;
        }
    }
    std::vector<ConsoleWrite> writes;
    writes.swap(heldWrites);
    bool cut = viewCut;
    viewCut = false;
    if (cut) {
        lines.RestartViewColumn();
        writes.front().replaceCaretLine = false;
    }
    lines.BreakForView(writes);
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
        WriteIntoView(write.text);
    }
    SelectEnd(outputCtrl);
    // Scrolled while drawing is off, the view moves without a repaint of
    // its own; the one invalidation below paints the result.
    FollowEndOrKeepView(outputCtrl, view);
    outputCtrl.SendMessage(WM_SETREDRAW, TRUE);
    outputCtrl.Invalidate(TRUE);
}

// Plain text goes in as it is; text with style sequences goes in run by
// run, each run given its colour and weight. Once any style was used every
// run is formatted, since inserted text takes the format before it.
void FakeConsoleDlg::WriteIntoView(const std::string& filtered)
{
    if (!viewStyled && filtered.find(kEscape) == std::string::npos) {
        ReplaceSelection(filtered);
        return;
    }
    ForEachStyledRun(filtered, viewStyle, [&](const std::string& run, const TextStyle& style) {
        viewStyled = viewStyled || style != TextStyle();
        long start = 0, end = 0;
        outputCtrl.GetSel(start, end);
        ReplaceSelection(run);
        if (!viewStyled)
            return;
        long after = 0;
        outputCtrl.GetSel(after, end);
        outputCtrl.SetSel(start, after);
        CHARFORMAT2W format = {};
        format.cbSize = sizeof(format);
        format.dwMask = CFM_COLOR | CFM_BACKCOLOR | CFM_BOLD;
        format.dwEffects = (style.bold ? CFE_BOLD : 0) | (style.foreground < 0 ? CFE_AUTOCOLOR : 0) |
                           (style.background < 0 ? CFE_AUTOBACKCOLOR : 0);
        format.crTextColor = RGB((style.foreground >> 16) & 0xFF, (style.foreground >> 8) & 0xFF,
                                 style.foreground & 0xFF);
        format.crBackColor = RGB((style.background >> 16) & 0xFF, (style.background >> 8) & 0xFF,
                                 style.background & 0xFF);
        ::SendMessageW(outputCtrl.m_hWnd, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        outputCtrl.SetSel(after, after);
    });
}

// The last character shown, when it is the echo of a typed one.
void FakeConsoleDlg::EraseLastShownCharacter()
{
    if (echoedAtEnd == 0 || !outputCtrl.IsWindow())
        return;
    --echoedAtEnd;
    if (transcript)
        transcript->EraseLastCharacter();
    if (!heldWrites.empty()) {
        std::string& text = heldWrites.back().text;
        while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80)
            text.pop_back();
        if (!text.empty())
            text.pop_back();
        return;
    }
    const long length = outputCtrl.GetTextLength();
    // A character beyond the basic plane takes two places.
    const std::wstring last = TextFrom(outputCtrl, std::max(0L, length - 2), length);
    const bool pair = last.size() == 2 && last[1] >= 0xDC00 && last[1] <= 0xDFFF;
    outputCtrl.SetSel(length - (pair ? 2 : 1), length);
    ReplaceSelectionWide(L"");
    SelectEnd(outputCtrl);
}

// Where the text that stays begins: at a line start, leaving room for
// `incoming`; everything when the piece itself was cut (all shown is older
// than what it lost).
long FakeConsoleDlg::TrimPoint(long incoming, bool pieceCut)
{
    const long length = outputCtrl.GetTextLength();
    if (pieceCut)
        return length;
    long cut = std::max(0L, length - KeptAfterTrimming(textLimit, incoming));
    const long line = outputCtrl.LineFromChar(cut);
    if (outputCtrl.LineIndex(line) != cut) {
        const long nextLine = outputCtrl.LineIndex(line + 1);
        cut = nextLine >= 0 ? nextLine : length;
    }
    return cut;
}

// The old control goes at once: a full control takes much memory in some
// rich-edit implementations, too much for two of them in one process. The
// new one takes its place with drawing off, so that the window keeps
// showing the old text until the new one is complete.
void FakeConsoleDlg::StartRefill(long incoming)
{
    const long length = outputCtrl.GetTextLength();
    std::wstring text = ToWide(kTrimmedMarker, CP_UTF8) + TextFrom(outputCtrl, TrimPoint(incoming, false), length);
    const HWND fresh = CreateOutputControlLike(outputCtrl.m_hWnd);
    if (fresh == nullptr)
        return;
    PutOutputControlInPlace(fresh);
    refill.control = fresh;
    refill.text.swap(text);
    refill.at = 0;
}

bool FakeConsoleDlg::ContinueRefill()
{
    const double start = MonotonicSeconds();
    while (refill.at < refill.text.size() && MonotonicSeconds() - start < kRefillSecondsPerTick) {
        const std::wstring piece = refill.text.substr(refill.at, kRefillPiece);
        SelectEnd(outputCtrl);
        ReplaceSelectionWide(piece);
        refill.at += piece.size();
    }
    if (refill.at < refill.text.size())
        return false;
    refill = Refill();
    SelectEnd(outputCtrl);
    outputCtrl.LineScroll(outputCtrl.GetLineCount());
    outputCtrl.SendMessage(WM_SETREDRAW, TRUE);
    outputCtrl.Invalidate(TRUE);
    return true;
}

void FakeConsoleDlg::TrimOldestFor(long incoming, bool pieceCut)
{
    const long length = outputCtrl.GetTextLength();
    if (!pieceCut && length + incoming <= textLimit)
        return;
    const long cut = TrimPoint(incoming, pieceCut);
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
    const HWND fresh = CreateOutputControlLike(outputCtrl.m_hWnd);
    if (fresh == nullptr)
        return false;
    PutOutputControlInPlace(fresh);
    // In pieces at the end: one insertion of megabytes costs far more.
    for (size_t at = 0; at < text.size(); at += kRefillPiece) {
        SelectEnd(outputCtrl);
        const std::wstring piece = text.substr(at, kRefillPiece);
        SETTEXTEX how = { ST_SELECTION, kUtf16 };
        outputCtrl.SendMessage(EM_SETTEXTEX, (WPARAM)&how, (LPARAM)piece.c_str());
    }
    return true;
}

// An empty output control like `old`, behind it, drawing off.
HWND FakeConsoleDlg::CreateOutputControlLike(HWND old)
{
    RECT place;
    ::GetWindowRect(old, &place);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&place), 2);
    const DWORD style = static_cast<DWORD>(::GetWindowLongW(old, GWL_STYLE));
    const HWND fresh = ::CreateWindowExW(
        static_cast<DWORD>(::GetWindowLongW(old, GWL_EXSTYLE)), L"RichEdit20W", L"", style, place.left, place.top,
        place.right - place.left, place.bottom - place.top, m_hWnd,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(::GetDlgCtrlID(old))), ::GetModuleHandleW(nullptr), nullptr);
    if (fresh == nullptr)
        return nullptr;
    ::SetWindowPos(fresh, old, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::SendMessageW(fresh, WM_SETFONT, ::SendMessageW(old, WM_GETFONT, 0, 0), FALSE);
    ::SendMessageW(fresh, EM_EXLIMITTEXT, 0, textLimit);
    ::SendMessageW(fresh, WM_SETREDRAW, FALSE, 0);
    return fresh;
}

void FakeConsoleDlg::PutOutputControlInPlace(HWND fresh)
{
    const bool focused = ::GetFocus() == outputCtrl.m_hWnd;
    outputCtrl.DestroyWindow();
    outputCtrl.SubclassWindow(fresh);
    // The window may have changed its size meanwhile.
    RECT client;
    GetClientRect(&client);
    outputCtrl.MoveWindow(0, 0, client.right, client.bottom, FALSE);
    if (focused)
        outputCtrl.SetFocus();
}

void FakeConsoleDlg::ReplaceSelection(const std::string& text)
{
    if (text.empty())
        return;
    const std::wstring wide = ToWide(text, CP_UTF8);
    if (!wide.empty())
        ReplaceSelectionWide(wide);
}

void FakeConsoleDlg::ReplaceSelectionWide(const std::wstring& wide)
{
    SETTEXTEX how = { ST_SELECTION, kUtf16 };
    outputCtrl.SendMessage(EM_SETTEXTEX, (WPARAM)&how, (LPARAM)wide.c_str());
}

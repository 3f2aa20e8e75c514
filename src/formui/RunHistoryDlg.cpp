#include "formui/RunHistoryDlg.h"

#include <commctrl.h>

#include "common/TextFormat.h"
#include "formui/RunHistory.h"
#include "framework/DisplayScale.h"
#include "framework/SystemLibrary.h"

namespace {

constexpr int kCommandColumn = 3;

// Seconds from 1601 (file times) to 1970.
constexpr long long kUnixEpochInFileTimeSeconds = 11644473600LL;

std::string LocalStartTime(long long startedUtc)
{
    const unsigned long long ticks =
        static_cast<unsigned long long>(startedUtc + kUnixEpochInFileTimeSeconds) * 10000000ULL;
    FILETIME utc = {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    FILETIME local = {};
    SYSTEMTIME time = {};
    if (startedUtc < 0 || !::FileTimeToLocalFileTime(&utc, &local) || !::FileTimeToSystemTime(&local, &time))
        return "?";
    return FormatText("%04u-%02u-%02u %02u:%02u:%02u", time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute,
                      time.wSecond);
}

void AddColumn(HWND list, int index, const char* title, int width)
{
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<char*>(title);
    column.cx = width;
    ::SendMessageA(list, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
}

void SetCell(HWND list, int row, int column, const std::string& text)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    ::SendMessageA(list, column == 0 ? LVM_INSERTITEMA : LVM_SETITEMTEXTA, column == 0 ? 0 : row,
                   reinterpret_cast<LPARAM>(&item));
}

int TextWidth(HWND list, const char* text)
{
    return static_cast<int>(::SendMessageA(list, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(text)));
}

RECT RectInParent(HWND child)
{
    RECT rect = {};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace

BEGIN_MESSAGE_MAP(RunHistoryDlg, CDialog)
    ON_COMMAND(IDC_HISTORY_RUN_AGAIN, OnRunAgain)
    ON_WM_SIZE()
    ON_MESSAGE(WM_NOTIFY, OnNotify)
    ON_MESSAGE(WM_DPICHANGED, OnDpiChanged)
END_MESSAGE_MAP()

RunHistoryDlg::RunHistoryDlg(const std::vector<RunRecord>& runs, CWnd* parent)
    : CDialog(IDD_RUN_HISTORY, parent), m_runs(runs)
{
    // The list view's class exists once the common controls' library is
    // loaded (from the system folder, never from beside the program).
    InitCommonControlClasses(ICC_LISTVIEW_CLASSES);
}

BOOL RunHistoryDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    RECT spacing = {7, 6, 0, 0};
    ::MapDialogRect(m_hWnd, &spacing);
    m_margin = spacing.left;
    m_gap = spacing.top;
    const RECT button = RectInParent(GetDlgItem(IDCANCEL));
    m_buttonSize = {button.right - button.left, button.bottom - button.top};

    FillList();
    const bool any = !m_runs.empty();
    ::EnableWindow(GetDlgItem(IDOK), any);
    ::EnableWindow(GetDlgItem(IDC_HISTORY_RUN_AGAIN), any);
    ::SetFocus(any ? GetDlgItem(IDC_HISTORY_LIST) : GetDlgItem(IDCANCEL));
    RECT client = {};
    GetClientRect(&client);
    OnSize(SIZE_RESTORED, client.right, client.bottom);
    return FALSE;  // the focus is set
}

void RunHistoryDlg::FillList()
{
    HWND list = GetDlgItem(IDC_HISTORY_LIST);
    ::SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    // Each column as wide as its widest likely text, measured in the list's font.
    const int padding = TextWidth(list, "MM");
    AddColumn(list, 0, "Started", TextWidth(list, "0000-00-00 00:00:00") + padding);
    AddColumn(list, 1, "Duration", TextWidth(list, "00 min 00 s") + padding);
    AddColumn(list, 2, "Exit code", TextWidth(list, "Terminated") + padding);
    AddColumn(list, kCommandColumn, "Command line", TextWidth(list, "M") * 20);
    for (size_t row = 0; row < m_runs.size(); ++row) {
        const RunRecord& run = m_runs[row];
        const int index = static_cast<int>(row);
        SetCell(list, index, 0, LocalStartTime(run.startedUtc));
        SetCell(list, index, 1, FormatRunDuration(run.durationMs));
        SetCell(list, index, 2, FormatRunEnding(run));
        SetCell(list, index, kCommandColumn, run.commandLine);
    }
    if (!m_runs.empty()) {
        LVITEMA item = {};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        item.state = LVIS_SELECTED | LVIS_FOCUSED;
        ::SendMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
    }
}

void RunHistoryDlg::OnSize(UINT type, int cx, int cy)
{
    Default();
    if (type == SIZE_MINIMIZED || m_buttonSize.cx == 0)
        return;
    // The buttons in a row at the bottom right, the list above them.
    const int buttonTop = cy - m_margin - m_buttonSize.cy;
    const int ids[] = {IDOK, IDC_HISTORY_RUN_AGAIN, IDCANCEL};
    int left = cx - m_margin - 3 * m_buttonSize.cx - 2 * m_gap;
    for (int id : ids) {
        ::MoveWindow(GetDlgItem(id), left, buttonTop, m_buttonSize.cx, m_buttonSize.cy, TRUE);
        left += m_buttonSize.cx + m_gap;
    }
    const int listWidth = cx - 2 * m_margin;
    const int listHeight = buttonTop - m_gap - m_margin;
    HWND list = GetDlgItem(IDC_HISTORY_LIST);
    ::MoveWindow(list, m_margin, m_margin, listWidth > 0 ? listWidth : 0, listHeight > 0 ? listHeight : 0, TRUE);
    // The command lines take the room left, or all they need.
    ::SendMessageA(list, LVM_SETCOLUMNWIDTH, kCommandColumn, LVSCW_AUTOSIZE);
    const LRESULT fitting = ::SendMessageA(list, LVM_GETCOLUMNWIDTH, kCommandColumn, 0);
    ::SendMessageA(list, LVM_SETCOLUMNWIDTH, kCommandColumn, LVSCW_AUTOSIZE_USEHEADER);
    if (fitting > ::SendMessageA(list, LVM_GETCOLUMNWIDTH, kCommandColumn, 0))
        ::SendMessageA(list, LVM_SETCOLUMNWIDTH, kCommandColumn, fitting);
}

LRESULT RunHistoryDlg::OnDpiChanged(WPARAM wParam, LPARAM lParam)
{
    const int dpi = HIWORD(wParam);
    if (dpi > 0) {
        m_margin = RescaleDpi(m_margin, m_nDpi, dpi);
        m_gap = RescaleDpi(m_gap, m_nDpi, dpi);
        m_buttonSize = {RescaleDpi(m_buttonSize.cx, m_nDpi, dpi), RescaleDpi(m_buttonSize.cy, m_nDpi, dpi)};
    }
    return CDialog::OnDpiChanged(wParam, lParam);
}

LRESULT RunHistoryDlg::OnNotify(WPARAM, LPARAM lParam)
{
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->idFrom == IDC_HISTORY_LIST && header->code == NM_DBLCLK)
        EndWithSelection(kFillForm);
    return 0;
}

void RunHistoryDlg::OnOK() { EndWithSelection(kFillForm); }

void RunHistoryDlg::OnRunAgain() { EndWithSelection(kRunAgain); }

void RunHistoryDlg::EndWithSelection(int result)
{
    chosen = static_cast<int>(
        ::SendMessageA(GetDlgItem(IDC_HISTORY_LIST), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (chosen >= 0 && chosen < static_cast<int>(m_runs.size()))
        EndDialog(result);
}

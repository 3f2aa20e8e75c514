#pragma once
// The "Run history" window of a form: its recorded runs, newest first, with
// when each started, how long it took, how it ended and its command line.
// "Fill form" and "Run again" end the window with the chosen run; the form
// does the rest.

#include <vector>

#include "formui/RememberedValues.h"
#include "framework/Dialog.h"
#include "resource.h"

class RunHistoryDlg : public CDialog {
public:
    RunHistoryDlg(const std::vector<RunRecord>& runs, CWnd* parent);

    // DoModal returns kFillForm or kRunAgain with `chosen` set, else
    // IDCANCEL.
    static constexpr int kFillForm = IDOK;
    static constexpr int kRunAgain = IDC_HISTORY_RUN_AGAIN;
    int chosen = -1;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnRunAgain();
    void OnSize(UINT type, int cx, int cy);
    LRESULT OnNotify(WPARAM, LPARAM lParam);
    // Its spacing follows the new scale before the window takes its new size.
    LRESULT OnDpiChanged(WPARAM wParam, LPARAM lParam);

private:
    void FillList();
    void EndWithSelection(int result);

    const std::vector<RunRecord>& m_runs;
    // The buttons' size and the margins, from the template (and so from the
    // dialog's font).
    SIZE m_buttonSize = {};
    int m_margin = 0;
    int m_gap = 0;

    DECLARE_MESSAGE_MAP()
};

// The form's run history: every run that started is recorded once its
// console closes; the "Run history" window fills the form from a run, or
// fills it and runs again the way that run was started.

#include <windows.h>

#include <string>
#include <vector>

#include "common/Diag.h"
#include "config/Settings.h"
#include "formui/ControlIds.h"
#include "formui/RunHistory.h"
#include "formui/RunHistoryDlg.h"
#include "formui/TavrelDlg.h"
#include "formui/ValueStore.h"
#include "framework/WinApp.h"

namespace {

// Seconds from 1601 (file times) to 1970.
constexpr long long kUnixEpochInFileTimeSeconds = 11644473600LL;

long long FileTimeTicks(const FILETIME& time)
{
    return static_cast<long long>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
}

long long NowTicks()
{
    FILETIME now = {};
    ::GetSystemTimeAsFileTime(&now);
    return FileTimeTicks(now);
}

// When the child was created and how long it ran (until now when it still
// runs), from the system's own record of the process.
void MeasureRun(HANDLE process, bool stillRunning, RunRecord& run)
{
    FILETIME created = {}, exited = {}, kernel = {}, user = {};
    long long start = NowTicks(), end = start;
    if (::GetProcessTimes(process, &created, &exited, &kernel, &user)) {
        start = FileTimeTicks(created);
        if (!stillRunning)
            end = FileTimeTicks(exited);
    }
    run.startedUtc = start / 10000000 - kUnixEpochInFileTimeSeconds;
    run.durationMs = end > start ? (end - start) / 10000 : 0;
}

}  // namespace

void CTavrelDlg::RecordRun(const std::string& commandLine, const std::vector<RememberedValue>& values)
{
    HANDLE process = m_runner.ProcessHandle();
    if (m_strGuiPath.empty() || process == nullptr || ReadRememberValues() == 0)
        return;  // nothing started, or nothing is to be kept
    RunRecord run;
    run.commandLine = commandLine;
    run.values = values;
    const bool stillRunning = m_runner.IsRunning();
    MeasureRun(process, stillRunning, run);
    if (stillRunning) {
        run.ending = RunEnding::Cancelled;
    } else if (m_runner.WasTerminated()) {
        run.ending = RunEnding::Terminated;
    } else {
        run.exitCode = static_cast<int>(m_runner.GetExitCode());
    }
    if (m_nRunButton >= 0) {
        run.pressedButton = true;
        run.button = IdentityOfControl(static_cast<size_t>(m_nRunButton));
    }
    FormStore store;
    LoadFormStore(m_strGuiPath, store);
    AddRunRecord(store.history, std::move(run));
    SaveFormStore(m_strGuiPath, store);
}

void CTavrelDlg::ShowRunHistory()
{
    FormStore store;
    if (!m_strGuiPath.empty())
        LoadFormStore(m_strGuiPath, store);
    RunHistoryDlg window(store.history, this);
    const INT_PTR choice = window.DoModal();
    if (choice != RunHistoryDlg::kFillForm && choice != RunHistoryDlg::kRunAgain)
        return;
    const RunRecord& run = store.history[static_cast<size_t>(window.chosen)];
    Diag("Filling the form from the run of %s\n", run.commandLine.c_str());
    ApplyFieldValues(run.values);
    if (choice == RunHistoryDlg::kRunAgain)
        RunAgain(run);
}

void CTavrelDlg::RunAgain(const RunRecord& run)
{
    if (!run.pressedButton) {
        OnRun();
        return;
    }
    // The button of the same identity, wherever it is in the form now.
    for (size_t i = 0; i < m_formControls.size(); ++i) {
        const ControlIdentity identity = IdentityOfControl(i);
        if (m_formControls[i].Def().m_bActionButton && identity.flag == run.button.flag &&
            identity.label == run.button.label && identity.place == run.button.place) {
            OnActionButton(static_cast<UINT>(ControlIdFor(IdRange::Action, static_cast<int>(i))));
            return;
        }
    }
    AfxMessageBox("The button that started this run is no longer in the form.", MB_OK | MB_ICONEXCLAMATION);
}

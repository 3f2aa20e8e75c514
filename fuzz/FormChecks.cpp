#include "FormChecks.h"

#include <cstdio>
#include <cstdlib>
#include <unordered_set>

#include "common/Diag.h"
#include "formdef/FormModel.h"

void CountingPresenter::ShowReport(const std::string& title, const std::string& text)
{
    ++reports;
    lastTitle = title;
    lastText = text;
}

void Require(bool condition, const char* what)
{
    if (condition) return;
    fprintf(stderr, "invariant broken: %s\n", what);
    abort();
}

void QuietDiagnostics()
{
    static const bool quiet = (SetDiagSink([](const std::string&) {}), true);
    (void)quiet;
}

void CheckModel(const CFormModel& model, int linesRead, bool parsed)
{
    Require(model.m_nLine == linesRead, "m_nLine counts every line read");
    Require(parsed || model.m_strBatchScript.empty(), "a failed parse never reaches a script");
    Require(model.m_bBatchCmd || model.m_strBatchScript.empty(), "a script only after {{batch cmd}}");
    std::unordered_set<int> groupsSeen;
    for (size_t i = 0; i < model.m_controls.size(); ++i) {
        const CControlDef& control = *model.m_controls[i];
        Require(control.m_nIndex == static_cast<int>(i), "indexes follow file order");
        Require(control.m_nRadioGroup == -1 || (control.m_nRadioGroup >= 1 && control.m_nRadioGroup <= model.m_nRadioGroup),
                "radio group numbers come from group starts");
        Require(!control.m_bActionButton || control.m_nRadioGroup == -1, "buttons never join a group");
        bool first = control.m_nRadioGroup >= 0 && groupsSeen.insert(control.m_nRadioGroup).second;
        Require(control.m_bFirstInGroup == (first ? 1 : 0), "first member flag");
    }
}

void CheckReports(const CountingPresenter& presenter, int linesRead, bool parsed)
{
    Require(presenter.quitRequests == presenter.reports, "every report asks to quit");
    Require(presenter.openFailures == 0, "the input always opens");
    Require(parsed || presenter.reports > 0, "a failed parse is reported");
    if (presenter.reports > 0 && linesRead > 0 && presenter.lastTitle != "Parse Error")
        Require(presenter.lastText.compare(0, 4, "01: ") == 0, "a line report starts with the listing");
}

// Feeds arbitrary bytes to the parser as the text of a form definition and
// checks the model's invariants afterwards; a broken invariant aborts, so
// libFuzzer reports it like a crash.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unordered_set>

#include "common/Diag.h"
#include "formdef/FormModel.h"
#include "formdef/LineReader.h"
#include "formdef/ParseErrorPresenter.h"

namespace {

class CountingPresenter : public ParseErrorPresenter {
public:
    void ShowReport(const std::string& title, const std::string& text) override
    {
        ++reports;
        lastTitle = title;
        lastText = text;
    }
    void RequestQuit() override { ++quitRequests; }
    void ShowOpenFailure(const std::string&) override { ++openFailures; }

    int reports = 0;
    int quitRequests = 0;
    int openFailures = 0;
    std::string lastTitle;
    std::string lastText;
};

void Require(bool condition, const char* what)
{
    if (condition) return;
    fprintf(stderr, "invariant broken: %s\n", what);
    abort();
}

void CheckModel(const CFormModel& model, const LineReader& reader, bool parsed)
{
    Require(model.m_nLine == reader.lineCount, "m_nLine counts every line read");
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool quiet = (SetDiagSink([](const std::string&) {}), true);
    (void)quiet;
    CountingPresenter presenter;
    SetParseErrorPresenter(&presenter);

    LineReader reader(std::string(reinterpret_cast<const char*>(data), size));
    CFormModel model;
    bool parsed = model.ParseLines(reader);

    CheckModel(model, reader, parsed);
    Require(presenter.quitRequests == presenter.reports, "every report asks to quit");
    Require(presenter.openFailures == 0, "text mode opens no file");
    Require(parsed || presenter.reports > 0, "a failed parse is reported");
    if (presenter.reports > 0 && reader.lineCount > 0 && presenter.lastTitle != "Parse Error")
        Require(presenter.lastText.compare(0, 4, "01: ") == 0, "a line report starts with the listing");

    SetParseErrorPresenter(nullptr);
    return 0;
}

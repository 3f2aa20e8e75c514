#pragma once
// Checks shared by the fuzz targets: a presenter that counts reports instead
// of showing them, and the invariants every parsed model must keep. A broken
// invariant aborts, so libFuzzer reports it like a crash.

#include <string>

#include "formdef/ParseErrorPresenter.h"

class CFormModel;
class LineReader;

class CountingPresenter : public ParseErrorPresenter {
public:
    void ShowReport(const std::string& title, const std::string& text) override;
    void RequestQuit() override { ++quitRequests; }
    void ShowOpenFailure(const std::string&) override { ++openFailures; }

    int reports = 0;
    int quitRequests = 0;
    int openFailures = 0;
    std::string lastTitle;
    std::string lastText;
};

void Require(bool condition, const char* what);

// Silences the diagnostic lines once per process.
void QuietDiagnostics();

// Invariants of a model after a parse that returned `parsed`; `linesRead`
// is the number of lines the parser's reader handed out.
void CheckModel(const CFormModel& model, int linesRead, bool parsed);

// What every parse must have reported, whatever its source.
void CheckReports(const CountingPresenter& presenter, int linesRead, bool parsed);

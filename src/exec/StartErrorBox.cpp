#include "exec/StartErrorBox.h"

#include <windows.h>

#include "exec/ProcessRunner.h"
#include "framework/WinApp.h"

namespace {
StartErrorPresenter& Presenter()
{
    static StartErrorPresenter presenter;
    return presenter;
}
}  // namespace

void SetStartErrorPresenter(StartErrorPresenter presenter) { Presenter() = std::move(presenter); }

void PresentStartError(const std::string& text)
{
    if (Presenter()) {
        Presenter()(text);
        return;
    }
    // Owned by the active window so that the box is modal to the console.
    MessageBoxA(GetActiveWindow(), text.c_str(), AfxGetAppName().c_str(), MB_OK | MB_ICONERROR);
}

bool StartReportingFailure(ProcessRunner& runner, const std::string& commandLine)
{
    if (runner.Start(commandLine))
        return true;
    if (runner.ChildCreationFailed())
        PresentStartError(runner.LastErrorText());
    return false;
}

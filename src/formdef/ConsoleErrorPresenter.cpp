#include "formdef/ConsoleErrorPresenter.h"

#include <windows.h>

#include "exec/FakeConsoleDlg.h"
#include "framework/SystemLibrary.h"
#include "framework/WinApp.h"

void ConsoleErrorPresenter::ShowReport(const std::string& title, const std::string& text)
{
    // The console's output control is a rich edit; its class exists only
    // once the library is loaded. The form dialog loads it too, but a report
    // may come before that (or from a program without a form dialog).
    LoadRichEditLibrary();

    OwnedWindow<FakeConsoleDlg> report(nullptr);
    report.textMode = true;
    report.title = title;
    report.presetText = text;
    report.DoModal();
}

// The quit request stays in the queue: every modal loop that meets it ends
// and posts it again, so the form being initialised never becomes usable.
void ConsoleErrorPresenter::RequestQuit() { PostQuitMessage(0); }

void ConsoleErrorPresenter::ShowOpenFailure(const std::string& message)
{
    ShowMessageBox(nullptr, message, "Tavrel Parse Error", MB_OK | MB_ICONERROR);
}

void InstallConsoleErrorPresenter()
{
    static ConsoleErrorPresenter presenter;
    SetParseErrorPresenter(&presenter);
}

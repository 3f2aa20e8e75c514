// Running the form: the Run button and the action buttons either preview
// the command (Shift held) or validate the fields, build the command line
// and run it in the console window. A form with an embedded batch script
// runs that script, with the built arguments, instead of its command.

#include <memory>
#include <string>

#include "common/Diag.h"
#include "config/Settings.h"
#include "exec/BatchScriptFile.h"
#include "exec/FakeConsoleDlg.h"
#include "exec/UniqueTempFile.h"
#include "formui/ControlIds.h"
#include "formui/ShiftKey.h"
#include "formui/TavrelDlg.h"
#include "framework/WinApp.h"

namespace {

const char kBanner[] = "========================================\n";

void ShowPreview(const std::string& preview)
{
    AfxMessageBox("Command that would be executed:\n\n" + preview, MB_OK | MB_ICONINFORMATION);
}

void LogCommandToExecute(const std::string& commandLine, const char* launchLine)
{
    Diag("\n%s", kBanner);
    Diag("COMMAND TO EXECUTE:\n");
    Diag("%s\n", commandLine.c_str());
    Diag("%s\n", kBanner);
    Diag("%s", launchLine);
}

// A single command runs with the Run button disabled until its console closes.
INT_PTR LaunchConsoleWithRunDisabled(CTavrelDlg& dialog, const std::string& commandLine)
{
    if (dialog.m_btnRun.IsWindow())
        dialog.m_btnRun.EnableWindow(FALSE);
    INT_PTR result = dialog.LaunchConsole(commandLine);
    if (dialog.m_btnRun.IsWindow())
        dialog.m_btnRun.EnableWindow(TRUE);
    return result;
}

}  // namespace

void CTavrelDlg::OnRun()
{
    Diag("\n%s", kBanner);
    Diag("RUN BUTTON CLICKED\n");
    Diag("%s", kBanner);

    if (IsShiftKeyDown()) {
        Diag("Shift key detected - showing command preview\n");
        ShowPreview(PreviewCommandLine());
        return;
    }

    if (!ValidateInputs()) {
        Diag("Validation failed - aborting\n");
        return;
    }

    if (m_form.m_bBatchCmd) {
        if (!RunEmbeddedBatch(BuildCommandLine(false)))
            Diag("Failed to start embedded batch command\n");
        return;
    }

    std::string commandLine = BuildCommandLine(true);
    LogCommandToExecute(commandLine, "Launching FakeConsoleDlg...\n");

    INT_PTR result = LaunchConsoleWithRunDisabled(*this, commandLine);
    Diag("FakeConsoleDlg::DoModal returned %d\n", static_cast<int>(result));
}

void CTavrelDlg::OnActionButton(UINT id)
{
    Diag("\n%s", kBanner);
    Diag("ACTION BUTTON CLICKED: ID=%d\n", static_cast<int>(id));
    Diag("%s", kBanner);

    FormControl* button = ControlAt(ControlIndexFromId(IdRange::Action, static_cast<int>(id)));
    if (button == nullptr) {
        Diag("ERROR: Invalid button ID\n");
        return;
    }
    if (!button->Def().m_bActionButton) {
        Diag("ERROR: Control is not an action button\n");
        return;
    }
    Diag("Button: %s (flag: %s)\n", button->Def().m_strLabel.c_str(), button->Def().m_strFlag.c_str());

    // While pressed, the button's flag is its value: it joins validation and
    // the command line at the place of its line in the form.
    if (IsShiftKeyDown()) {
        Diag("Shift key detected - showing command preview\n");
        button->m_bPressed = 1;
        std::string preview = PreviewCommandLine();
        button->m_bPressed = 0;
        ShowPreview(preview);
        return;
    }

    button->m_bPressed = 1;
    if (!ValidateInputs()) {
        Diag("Validation failed - aborting\n");
        button->m_bPressed = 0;
        return;
    }

    // The run's history names the button, so that it can be run again.
    m_nRunButton = ControlIndexFromId(IdRange::Action, static_cast<int>(id));
    if (m_form.m_bBatchCmd) {
        std::string arguments = BuildCommandLine(false);
        button->m_bPressed = 0;
        if (!RunEmbeddedBatch(arguments))
            Diag("Failed to start embedded batch command\n");
        m_nRunButton = -1;
        return;
    }

    std::string commandLine = BuildCommandLine(true);
    button->m_bPressed = 0;
    LogCommandToExecute(commandLine, "Launching FakeConsoleDlg from ActionButton...\n");

    INT_PTR result = LaunchConsoleWithRunDisabled(*this, commandLine);
    m_nRunButton = -1;
    Diag("FakeConsoleDlg::DoModal (Action) returned %d\n", static_cast<int>(result));
}

bool CTavrelDlg::RunEmbeddedBatch(const std::string& arguments)
{
    if (m_form.m_strBatchScript.empty())
        return false;
    m_runScripts.DeleteFinished();  // of earlier runs that have ended since

    // A fresh name for every run: two runs in the same millisecond, or two
    // copies of the program, never share (or truncate) each other's script.
    std::string path;
    bool created = CreateUniqueTempFile("tavrel-exec-%08x.bat", path);
    Diag("Creating temp execution batch file: %s\n", path.c_str());
    if (!created || !WriteBatchScriptFile(path, m_form.m_strBatchScript)) {
        if (created)
            DeleteFileA(path.c_str());  // a half-written script must not be left to run
        AfxMessageBox("Failed to create temporary execution batch file", MB_OK);
        return false;
    }

    std::string commandLine = "cmd /c \"\"" + path + "\" " + arguments + "\"";
    Diag("%s", kBanner);
    Diag("EXECUTING EMBEDDED BATCH COMMAND:\n");
    Diag("%s\n", commandLine.c_str());
    Diag("%s\n", kBanner);
    // The console may have been closed while the script still runs: the
    // file goes once nothing of the run is left.
    LaunchConsole(commandLine);
    m_runScripts.Add(path, m_runner);
    m_runScripts.DeleteFinished();
    return true;
}

INT_PTR CTavrelDlg::LaunchConsole(const std::string& commandLine)
{
    auto console = std::make_unique<OwnedWindow<FakeConsoleDlg>>(this);
    console->command = commandLine;
    console->runner = &m_runner;  // lent for this run; the dialog keeps it
    // Read at every opening, so a change in the settings applies at once.
    console->growRight = ReadGrowRight() != 0;
    console->growLeft = ReadGrowLeft() != 0;
    // Handled from the console's own message loop, once the console has
    // tried to start the command.
    PostMessage(kRunStartedMessage);
    // The form cannot be edited while the console is open: these are the
    // values of the run.
    const std::vector<RememberedValue> values = CurrentFieldValues();
    const INT_PTR result = console->DoModal();
    RecordRun(commandLine, values);
    return result;
}

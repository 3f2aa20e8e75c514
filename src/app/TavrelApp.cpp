#include "app/TavrelApp.h"

#include "app/StartupRouting.h"
#include "app/SystemStartupEnvironment.h"
#include "exec/RunScriptFiles.h"
#include "formdef/ConsoleErrorPresenter.h"
#include "formdef/SystemTextCodePages.h"

CTavrelApp::CTavrelApp() = default;

BOOL CTavrelApp::InitInstance()
{
    Enable3dControls();
    // Form-definition errors are shown in the console window.
    InstallConsoleErrorPresenter();
    // Form files saved in the system's legacy code page are decoded with it.
    InstallSystemTextCodePages();
    // Scripts of runs that outlived an earlier start of the program.
    DeleteStaleRunScripts();
    SystemStartupEnvironment environment;
    RunStartup(m_lpCmdLine, environment);
    return FALSE;
}

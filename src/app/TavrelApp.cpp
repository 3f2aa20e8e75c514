#include "app/TavrelApp.h"

#include "app/StartupRouting.h"
#include "app/SystemStartupEnvironment.h"
#include "formdef/ConsoleErrorPresenter.h"

CTavrelApp::CTavrelApp() = default;

BOOL CTavrelApp::InitInstance()
{
    Enable3dControls();
    // Form-definition errors are shown in the console window.
    InstallConsoleErrorPresenter();
    SystemStartupEnvironment environment;
    RunStartup(m_lpCmdLine, environment);
    return FALSE;
}

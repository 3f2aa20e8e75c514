#include "app/TavrelApp.h"

#include "app/StartupRouting.h"
#include "app/SystemStartupEnvironment.h"

CTavrelApp::CTavrelApp() = default;

BOOL CTavrelApp::InitInstance()
{
    Enable3dControls();
    SystemStartupEnvironment environment;
    RunStartup(m_lpCmdLine, environment);
    return FALSE;
}

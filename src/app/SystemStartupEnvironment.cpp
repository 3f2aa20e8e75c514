#include "app/SystemStartupEnvironment.h"

#include <windows.h>
#include <shellapi.h>

#include "config/ConfigDlg.h"
#include "formui/TavrelDlg.h"
#include "framework/Handles.h"
#include "framework/ModulePath.h"
#include "framework/WinApp.h"

std::string SystemStartupEnvironment::ExecutablePath()
{
    return CurrentModulePath();
}

bool SystemStartupEnvironment::IsExistingFile(const std::string& path)
{
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool SystemStartupEnvironment::IsElevated()
{
    UniqueKernelHandle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.Receive()))
        return false;
    TOKEN_ELEVATION elevation = {};
    DWORD size = 0;
    return ::GetTokenInformation(token.Get(), TokenElevation, &elevation, sizeof elevation, &size) &&
           elevation.TokenIsElevated != 0;
}

bool SystemStartupEnvironment::LaunchElevated(const std::string& executable,
                                              const std::string& parameters, unsigned long* error)
{
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof info;
    info.lpVerb = "runas";
    info.lpFile = executable.c_str();
    info.lpParameters = parameters.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (::ShellExecuteExA(&info))
        return true;
    *error = ::GetLastError();
    return false;
}

void SystemStartupEnvironment::ShowMessage(const std::string& text)
{
    AfxMessageBox(text, MB_OK | MB_ICONINFORMATION);
}

void SystemStartupEnvironment::RunConfigDialog()
{
    OwnedWindow<ConfigDlg> dialog;
    dialog.DoModal();
}

void SystemStartupEnvironment::RunFormDialog(const std::string& path, const std::string& title)
{
    OwnedWindow<CTavrelDlg> dialog;
    CWinApp* app = AfxGetApp();
    if (app != nullptr)
        app->m_pMainWnd = &dialog;
    dialog.m_strGuiPath = path;
    dialog.m_strTitle = title;
    dialog.DoModal();
    if (app != nullptr)
        app->m_pMainWnd = nullptr;
}

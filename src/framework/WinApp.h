#pragma once
// The application object and the program-wide services around it: the entry
// point that calls InitInstance, message boxes, and window-class registration.

#include <windows.h>

#include <functional>
#include <string>

#include "framework/Object.h"

class CWnd;

class CWinApp : public CObject {
public:
    // appName null: the executable's base name.
    explicit CWinApp(const char* appName = nullptr);
    ~CWinApp() override;

    // Decides what the program shows. Returning FALSE ends the program.
    virtual BOOL InitInstance();
    virtual int ExitInstance();

    // Kept for symmetry with Windows' classic 3-D look; the system always
    // draws 3-D controls now, so there is nothing to switch on.
    void Enable3dControls() {}

    HINSTANCE m_hInstance = nullptr;
    const char* m_lpCmdLine = "";   // the command line after the program name, as received
    const char* m_pszAppName = "";
    CWnd* m_pMainWnd = nullptr;

private:
    std::string m_appName;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
// The application's name: the executable's base name unless the app sets one.
std::string AfxGetAppName();

// The body of WinMain: sets up the application object and runs InitInstance.
int AfxWinMain(HINSTANCE instance, LPSTR commandLine);

// A message box with the application's name as caption and the owner the
// framework picks (the main window, or the active window of this thread).
// Without an icon in `type`, OK boxes get the exclamation icon and Yes/No
// boxes the question icon.
int AfxMessageBox(const std::string& text, UINT type = MB_OK);

// Every message box of the program goes through here. Tests replace the hook
// to answer boxes without showing them; null restores the real boxes.
using MessageBoxHook = std::function<int(HWND owner, const std::string& text,
                                         const std::string& caption, UINT type)>;
void SetMessageBoxHook(MessageBoxHook hook);
int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type);

// Registers (once per set of arguments) a window class whose procedure is
// DefWindowProc and returns its name.
const char* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr,
                                HBRUSH background = nullptr, HICON icon = nullptr);

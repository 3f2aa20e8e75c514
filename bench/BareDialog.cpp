// Baseline of the form-open benchmark: a program of ours, built like
// tavrel.exe (same toolchain, runtime, framework and resources), that shows
// the form dialog's empty template modally and does nothing else.

#include <windows.h>

#include "framework/Dialog.h"
#include "framework/WinApp.h"
#include "resource.h"

class BareDialogApp : public CWinApp {
public:
    BOOL InitInstance() override
    {
        CDialog dialog(IDD_TAVREL_DIALOG);
        m_pMainWnd = &dialog;
        dialog.DoModal();
        m_pMainWnd = nullptr;
        return FALSE;
    }
};

BareDialogApp theApp;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    return AfxWinMain(instance, commandLine);
}

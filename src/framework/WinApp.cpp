#include "framework/WinApp.h"

#include <cstdint>
#include <cstdio>
#include <map>
#include <tuple>

#include "common/Diag.h"
#include "common/TextFormat.h"
#include "framework/ModulePath.h"
#include "framework/Wnd.h"

namespace {

CWinApp* g_app = nullptr;

MessageBoxHook& Hook()
{
    static MessageBoxHook hook;
    return hook;
}

// A handle as a number, for a window class name.
unsigned HexOf(const void* handle) { return static_cast<unsigned>(reinterpret_cast<uintptr_t>(handle)); }

}  // namespace

CWinApp::CWinApp(const char* appName)
    : m_appName(appName ? appName : ExecutableBaseName())
{
    m_pszAppName = m_appName.c_str();
    g_app = this;
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() { return 0; }

CWinApp* AfxGetApp() { return g_app; }

CWnd* AfxGetMainWnd() { return g_app ? g_app->m_pMainWnd : nullptr; }

std::string AfxGetAppName() { return g_app ? std::string(g_app->m_pszAppName) : ExecutableBaseName(); }

int AfxWinMain(HINSTANCE instance, LPSTR commandLine)
{
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return 1;
    app->m_hInstance = instance;
    app->m_lpCmdLine = commandLine ? commandLine : "";
    int exitCode = 0;
    if (app->InitInstance()) {
        // A program that keeps running after InitInstance pumps messages
        // until its main window posts WM_QUIT.
        MSG msg;
        BOOL got = 0;
        while ((got = ::GetMessageA(&msg, nullptr, 0, 0)) > 0) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        if (got == -1)
            Diag("ERROR: Reading the message queue failed (error %lu)\n", ::GetLastError());
        exitCode = got == 0 ? static_cast<int>(msg.wParam) : 1;
    }
    int exitInstance = app->ExitInstance();
    fflush(stdout);
    return exitCode != 0 ? exitCode : exitInstance;
}

void SetMessageBoxHook(MessageBoxHook hook) { Hook() = std::move(hook); }

int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type)
{
    if (Hook())
        return Hook()(owner, text, caption, type);
    return ::MessageBoxA(owner, text.c_str(), caption.c_str(), type);
}

int AfxMessageBox(const std::string& text, UINT type)
{
    if ((type & MB_ICONMASK) == 0) {
        switch (type & MB_TYPEMASK) {
        case MB_OK:
        case MB_OKCANCEL:
            type |= MB_ICONEXCLAMATION;
            break;
        case MB_YESNO:
        case MB_YESNOCANCEL:
            type |= MB_ICONQUESTION;
            break;
        default:
            break;
        }
    }
    HWND owner = ::GetActiveWindow();
    if (owner == nullptr) {
        CWnd* main = AfxGetMainWnd();
        if (main != nullptr && main->IsWindow())
            owner = ::GetLastActivePopup(main->m_hWnd);
    }
    return ShowMessageBox(owner, text, AfxGetAppName(), type);
}

const char* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon)
{
    using Key = std::tuple<UINT, HCURSOR, HBRUSH, HICON>;
    static std::map<Key, std::string> registered;
    Key key{ classStyle, cursor, background, icon };
    auto found = registered.find(key);
    if (found != registered.end())
        return found->second.c_str();

    // Each handle as eight lower-case hex digits, as the names have always
    // been: the system C runtime would print a %p in upper case.
    const std::string name = FormatText("TavrelWnd:%x:%08x:%08x:%08x", classStyle, HexOf(cursor), HexOf(background),
                                        HexOf(icon));
    WNDCLASSA wc = {};
    wc.style = classStyle;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.hIcon = icon;
    wc.lpszClassName = name.c_str();
    ::RegisterClassA(&wc);
    return registered.emplace(key, name).first->second.c_str();
}

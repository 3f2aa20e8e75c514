#pragma once
// What the run-flow tests need beside the open form: Shift held down, the
// console window of a run watched and closed, the test child as a form's
// command.

#include <windows.h>

#include <functional>
#include <string>

#include "formui/TavrelDlg.h"
#include "support/TempFolder.h"

// Holds Shift down for the run flow while it lives.
class HoldShift {
public:
    HoldShift();
    ~HoldShift();
};

// Watches this thread for the console window a run opens. Once the child's
// exit banner shows (or after `timeoutMs`), it reads the window and closes
// it as a user pressing Escape after the end would.
class ConsoleWatch {
public:
    explicit ConsoleWatch(CTavrelDlg& form, DWORD timeoutMs = 20000);
    ~ConsoleWatch();
    ConsoleWatch(const ConsoleWatch&) = delete;
    ConsoleWatch& operator=(const ConsoleWatch&) = delete;

    int consolesSeen = 0;
    std::string caption;      // caption when it was closed
    std::string text;         // output shown, line ends as "\n"
    bool timedOut = false;
    bool runButtonEnabledWhileOpen = false;
    // Called once the run has ended, while its console is still open.
    std::function<void()> beforeClose;

    bool Shows(const std::string& part) const { return text.find(part) != std::string::npos; }

    // Timer callback (plain function for the 32-bit calling convention).
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);

private:
    void Poll();

    CTavrelDlg& m_form;
    DWORD m_timeoutMs;
    DWORD m_openedAt = 0;
    bool m_closeRequested = false;
    UINT_PTR m_timer = 0;
};

// The test child as the command of a form: it prints every argument after
// "args" as "arg<k>=<length>:<bytes>".
std::string ArgsPrinterCommand();

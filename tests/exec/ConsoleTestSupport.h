#pragma once
// Helpers for tests of the console window: reading the rich-edit control
// back, and driving a console that runs modally on the test's thread from a
// helper thread, the way a user would (keys, close box), with every wait
// bounded. What any window test needs (texts, finding, clicking, bounded
// waits) is in support/WindowQueries.h.

#include <windows.h>

#include <functional>
#include <string>

#include "exec/FakeConsoleDlg.h"

// The console's template holds a RichEdit20W control.
void LoadRichEdit();

// The control's text as UTF-16, line ends as the control reports them.
std::wstring ShownWideText(HWND richEdit);
// The control's text in code page 437 with every line end as '\n'.
std::string ShownText(HWND richEdit);

// A console window seen from the helper thread.
class ConsoleRemote {
public:
    explicit ConsoleRemote(DWORD uiThread) : m_uiThread(uiThread) {}

    // Waits until the console is visible; false when it never showed.
    bool WaitForWindow(DWORD timeoutMs = 5000);
    bool WaitForText(const std::string& needle, DWORD timeoutMs = 5000);
    bool WaitForCaptionEnding(const std::string& suffix, DWORD timeoutMs = 5000);
    std::string Text() const;
    std::wstring WideText() const;
    std::string Caption() const;
    bool IsOpen() const { return m_window != nullptr && ::IsWindow(m_window); }

    // Characters as the keyboard would deliver them to the output control.
    void Type(const std::string& characters);
    void PressKey(UINT virtualKey);
    // The focus given to the window itself, as activation does when the
    // control that had it is gone.
    void FocusTheWindowItself();
    // The close box (or the system menu's Close).
    void ClickCloseBox();
    // Waits for a real message box of the console's thread and presses the
    // button `answer` (IDYES, IDNO, ...); false when no box appeared.
    bool AnswerMessageBox(int answer, DWORD timeoutMs = 5000);
    // Gives the console's loop time to handle what was posted.
    static void Pause(DWORD milliseconds) { ::Sleep(milliseconds); }

private:
    HWND Output() const;

    DWORD m_uiThread;
    HWND m_window = nullptr;
};

// Runs the console modally on this thread while `script` drives it from a
// helper thread. A console the script left open is closed with the close
// box. Returns what DoModal returned.
INT_PTR RunConsole(FakeConsoleDlg& console, const std::function<void(ConsoleRemote&)>& script);

// The test child, quoted, followed by its steps.
std::string TestChildCommand(const std::string& steps);

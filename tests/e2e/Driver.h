#pragma once
// Drives the real tavrel.exe from a test: starts it with its standard output
// on a pipe, collects what it prints, finds the windows of that process (and
// of no other), types into them, presses buttons, answers message boxes and
// ends it. Every wait is bounded; nothing here can hang a test.
//
// Typical use:
//   TavrelProcess app;
//   ASSERT_TRUE(app.Start("\"Z:\\tmp\\x\\form.gui\""));
//   HWND form = app.WaitForWindow("mytool.exe");
//   SetText(EditBox(form, 0), "hello");
//   Click(RunButton(form));
//   EXPECT_TRUE(app.WaitForOutput("Process exited with code: 0"));
//   app.Close(form);
//   EXPECT_TRUE(app.WaitForExit());

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "support/TempFolder.h"
#include "support/WindowQueries.h"

namespace e2e {

// Default for every bounded wait, in milliseconds.
constexpr DWORD kDefaultTimeoutMs = 10000;

// The program under test: <build>/tavrel.exe, one folder above the folder of
// the running test executable (<build>/testbin).
std::string TavrelExePath();

// The folder of the running test executable, with a trailing backslash.
std::string TestBinFolder();

// A visible top-level window of the process as the driver saw it.
struct WindowInfo {
    HWND hwnd = nullptr;
    std::string title;
    std::string className;
};

// What a message box showed and how it was answered.
struct MessageBoxSeen {
    bool found = false;   // a box with the caption appeared in time
    HWND hwnd = nullptr;
    std::string caption;
    std::string text;     // the box's static text (the message)
};

class TavrelProcess {
public:
    TavrelProcess();
    // Kills the program if it still runs.
    ~TavrelProcess();
    TavrelProcess(const TavrelProcess&) = delete;
    TavrelProcess& operator=(const TavrelProcess&) = delete;

    // Starts the program. `arguments` is the raw text after the program name
    // on the command line, passed exactly as given (quotes, blanks and all);
    // empty means no arguments at all. `workingDirectory` empty: the test's
    // own. `exePath` empty: TavrelExePath(). False when it did not start.
    bool Start(const std::string& arguments, const std::string& workingDirectory = std::string(),
               const std::string& exePath = std::string());

    DWORD ProcessId() const;
    HANDLE ProcessHandle() const;

    // Everything the program wrote to standard output so far, CR LF turned
    // into LF so that expected lines read as the program's format strings.
    std::string Output() const;
    // The same, with line ends as written.
    std::string RawOutput() const;
    // Waits until the output (LF form) contains `text`.
    bool WaitForOutput(const std::string& text, DWORD timeoutMs = kDefaultTimeoutMs) const;

    // Visible top-level windows of this process, in z-order.
    std::vector<WindowInfo> Windows() const;
    // Waits for a visible top-level window of this process whose title is
    // exactly `title`; null on timeout.
    HWND WaitForWindow(const std::string& title, DWORD timeoutMs = kDefaultTimeoutMs) const;
    // Waits for a visible top-level window of this process that `match` accepts.
    HWND WaitForWindowWhere(const std::function<bool(const WindowInfo&)>& match,
                            DWORD timeoutMs = kDefaultTimeoutMs) const;
    // Waits until `hwnd` is gone or hidden.
    bool WaitForWindowGone(HWND hwnd, DWORD timeoutMs = kDefaultTimeoutMs) const;

    // Waits for a message box (dialog class "#32770") of this process with
    // the given caption and reads its message.
    MessageBoxSeen WaitForMessageBox(const std::string& caption, DWORD timeoutMs = kDefaultTimeoutMs) const;
    // Waits for the box, reads it and presses the button `buttonId` (IDOK,
    // IDYES, IDNO, ...). `found` is false when no such box appeared.
    MessageBoxSeen AnswerMessageBox(const std::string& caption, int buttonId,
                                    DWORD timeoutMs = kDefaultTimeoutMs) const;

    // Asks a window of the program to close (WM_CLOSE, posted).
    void Close(HWND hwnd) const;

    // Waits for the program to end. On timeout it is killed and the result
    // is false. `exitCode` receives the code when it ended by itself.
    bool WaitForExit(DWORD timeoutMs = kDefaultTimeoutMs, DWORD* exitCode = nullptr);
    bool HasExited() const;
    void Kill();

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// ---- What a user sees on the program's windows ---------------------------------
// Reading and driving any window (TextOf, SetText, Click, SetCheck...) is in
// support/WindowQueries.h. Controls here are counted in the order the Tab key
// visits them: the required fields first, then the others, each in the order
// of the form file.

// The n-th (from 0) edit box of a form; a typed radio button's box is one.
HWND EditBox(HWND form, size_t n);
// The n-th check box of a form. Counted, not named: whether a check box
// shows its flag before its label is a setting.
HWND CheckBox(HWND form, size_t n);
// The n-th drive drop-down of a form.
HWND DropDown(HWND form, size_t n);
// The label of a field: the text just before its edit box or drop-down.
HWND LabelOf(HWND field);
// The push button showing `text` (an action button shows its label).
HWND ButtonNamed(HWND window, const std::string& text);
// The form's Run button.
HWND RunButton(HWND form);
// What a console window (or the error window) shows: its rich-edit control.
HWND OutputOf(HWND console);

}  // namespace e2e

#pragma once
// A real form dialog for the tests of field values, validation, command
// building and the run flow: loaded from a form text, modeless and hidden,
// with diagnostics captured, message boxes answered by caption, the Shift
// key under the test's control and the console window of a run watched and
// closed.

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/Diag.h"
#include "formui/TavrelDlg.h"

struct ShownBox {
    std::string text;
    std::string caption;
    UINT type = 0;
    HWND owner = nullptr;
};

class LoadedForm {
public:
    // `formText` is the whole form definition file.
    explicit LoadedForm(const std::string& formText);
    // The form file at `path` (written there, removed at the end).
    LoadedForm(const std::string& formText, const std::string& path);
    ~LoadedForm();
    LoadedForm(const LoadedForm&) = delete;
    LoadedForm& operator=(const LoadedForm&) = delete;

    CTavrelDlg& Dialog() { return *m_dialog; }
    CControlDef& Control(size_t index) { return *m_dialog->m_form.m_controls.at(index); }

    // Boxes with this caption get `answer`; others get IDOK (or IDNO for
    // Yes/No boxes, so that nothing runs by accident).
    void Answer(const std::string& caption, int answer) { m_answers[caption] = answer; }
    const std::vector<ShownBox>& Boxes() const { return m_boxes; }
    size_t BoxCount(const std::string& caption) const;
    const ShownBox* LastBox(const std::string& caption) const;
    void ClearBoxes() { m_boxes.clear(); }

    const std::string& Diagnostics() const { return m_capture.Text(); }
    bool Logged(const std::string& text) const { return Diagnostics().find(text) != std::string::npos; }
    void ResetDiagnostics() { m_capture.Reset(); }

    // What a user does.
    void SetText(size_t index, const std::string& text);
    void SetChecked(size_t index, bool checked);
    void SelectDrive(size_t index, int item);
    void PressRun();
    void PressActionButton(size_t index);
    void SendCommandId(UINT id);

private:
    std::string m_path;
    DiagCapture m_capture;
    std::map<std::string, int> m_answers;
    std::vector<ShownBox> m_boxes;
    std::unique_ptr<CTavrelDlg> m_dialog;
};

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

// The form text for a command and control lines.
std::string MakeFormText(const std::string& command, const std::vector<std::string>& lines);
// The test child as the command of a form: it prints every argument after
// "args" as "arg<k>=<length>:<bytes>".
std::string ArgsPrinterCommand();
// A folder of its own under the temporary folder, removed at the end.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    const std::string& Path() const { return m_path; }
    std::string PathOf(const std::string& name) const { return m_path + "\\" + name; }
    std::string WriteFile(const std::string& name, const std::string& bytes) const;
    std::string MakeFolder(const std::string& name) const;

private:
    std::string m_path;
};

bool ReadWholeFile(const std::string& path, std::string& bytes);

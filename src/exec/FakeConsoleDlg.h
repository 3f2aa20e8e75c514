#pragma once
// FakeConsoleDlg: the console-like window that shows a command's output as
// it arrives and passes typed keys to the command.
//
// Run mode: the opener sets `command` and lends a `runner`; the window
// starts the command when it opens and polls the runner on a timer until
// the child ends, then shows the exit banner.
// Text mode: the opener sets `textMode`, `title` and `presetText`; the
// window only shows them.
//
// Every piece of text goes through AppendOutput, so the carriage-return line
// discipline and the auto-grow check see all of it.

#include <windows.h>

#include <string>

#include "framework/Controls.h"
#include "framework/Dialog.h"

class ProcessRunner;

class FakeConsoleDlg : public CDialog {
public:
    explicit FakeConsoleDlg(CWnd* parent = nullptr);
    ~FakeConsoleDlg() override;

    CRichEditCtrl outputCtrl;
    CFont consoleFont;
    std::string command;
    ProcessRunner* runner = nullptr;  // lent by the opener, never owned
    UINT_PTR timerId = 0;
    bool textMode = false;
    std::string title;
    std::string presetText;
    int outputStreak = 0;
    int idleStreak = 0;
    bool throttled = false;
    bool growDone = false;
    bool growLeft = true;
    bool growRight = true;

    // The one way text reaches the window: appends, then checks auto-grow.
    void AppendOutput(const std::string& text);
    // Widens the window once when the output control needs a horizontal
    // scroll bar, within the work area of its screen.
    void CheckAutoGrow();
    // Writes text through the carriage-return line discipline.
    void AppendText(const std::string& text);
    // Replaces the control's selection with code page 437 text.
    void ReplaceSelection(const std::string& text);

    BOOL PreTranslateMessage(MSG* msg) override;

    // Keeping the output (system menu): the text as shown, every line
    // ending in CR LF; the clipboard in both text formats; a UTF-8 file
    // that is replaced whole or not at all. SaveOutputTo reports a failure
    // in a message box.
    std::wstring ShownText() const;
    void CopyAllOutput();
    void SaveOutputAs();
    bool SaveOutputTo(const std::string& path);

protected:
    void DoDataExchange() override;
    BOOL OnInitDialog() override;
    void PostNcDestroy() override;

    void OnSize(UINT type, int cx, int cy);
    void OnTimer(UINT_PTR id);
    void OnSysCommand(UINT id, LPARAM lParam);
    void AddOutputMenuItems();

    DECLARE_MESSAGE_MAP()
};

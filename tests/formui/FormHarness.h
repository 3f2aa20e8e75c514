#pragma once
// The real form dialog under test: opened modeless and hidden on a form
// definition written to a file, with every diagnostic line captured and
// every message box answered and recorded. Helpers act as a user would
// (type, tick, choose a drive, press Run or an action button) and read back
// what a window shows (support/WindowQueries.h). Serves the tests of creation, layout and scrolling
// and those of values, validation, command building and the run flow.

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/Diag.h"
#include "formui/TavrelDlg.h"
#include "support/WindowQueries.h"

struct ShownBox {
    std::string text;
    std::string caption;
    UINT type = 0;
    HWND owner = nullptr;
};

// Where the form file goes when a test needs its path fixed.
struct AtPath {
    std::string path;
};
// The window-title override the program takes from its command line.
struct WindowTitle {
    std::string title;
};

class OpenForm {
public:
    // `formText` is the whole file, written to a temporary file; an empty
    // text opens the dialog with no path at all.
    explicit OpenForm(const std::string& formText, const WindowTitle& title = WindowTitle());
    // The form file at `where` (written there, removed at the end).
    OpenForm(const std::string& formText, const AtPath& where);
    ~OpenForm();
    OpenForm(const OpenForm&) = delete;
    OpenForm& operator=(const OpenForm&) = delete;

    CTavrelDlg& Dialog() { return *m_dialog; }
    FormControl& Control(size_t index) { return m_dialog->m_formControls.at(index); }
    const std::string& Path() const { return m_path; }

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
    // Sends a scroll request to the dialog as its scroll bar would.
    void Scroll(UINT code, UINT position = 0);

    int ClientWidth() const { return ClientRect().right; }
    int ClientHeight() const { return ClientRect().bottom; }

private:
    void Open(const std::string& title);
    RECT ClientRect() const;

    std::string m_path;
    DiagCapture m_capture;
    std::map<std::string, int> m_answers;
    std::vector<ShownBox> m_boxes;
    std::unique_ptr<CTavrelDlg> m_dialog;
};

// Writes [UI] settings into the settings file beside the test program and
// puts the previous file back afterwards. A value below 0 leaves the key out.
class ScopedUiSettings {
public:
    ScopedUiSettings(int hideFlags, int hideRunWithButtons);
    ~ScopedUiSettings();
    ScopedUiSettings(const ScopedUiSettings&) = delete;
    ScopedUiSettings& operator=(const ScopedUiSettings&) = delete;

private:
    std::string m_path;
    bool m_hadFile = false;
    std::string m_previous;
};

// Form texts: the command "cmd /c echo", a description and the given
// control lines; or a given command, a fixed description and the lines.
std::string FormText(const std::string& description, const std::vector<std::string>& lines);
std::string MakeFormText(const std::string& command, const std::vector<std::string>& lines);

bool ReadWholeFile(const std::string& path, std::string& bytes);

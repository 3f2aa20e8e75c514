#pragma once
// Opens the real form dialog on a form definition written to a temporary
// file: modeless and hidden, with every diagnostic line captured and every
// message box answered and recorded. Helpers read back what a window shows.

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "common/Diag.h"
#include "formui/TavrelDlg.h"

struct RecordedBox {
    std::string text;
    std::string caption;
    UINT type;
};

class OpenForm {
public:
    // `formText` is the whole file; an empty text opens the dialog with no
    // path at all. `title` is the window-title override.
    explicit OpenForm(const std::string& formText, const std::string& title = std::string());
    ~OpenForm();
    OpenForm(const OpenForm&) = delete;
    OpenForm& operator=(const OpenForm&) = delete;

    CTavrelDlg& Dialog() { return *m_dialog; }
    const std::string& Diagnostics() const { return m_capture.Text(); }
    void ResetDiagnostics() { m_capture.Reset(); }
    const std::vector<RecordedBox>& Boxes() const { return m_boxes; }
    const std::string& Path() const { return m_path; }

    CControlDef& Control(size_t index) { return *m_dialog->m_form.m_controls.at(index); }
    // Sends a scroll request to the dialog as its scroll bar would.
    void Scroll(UINT code, UINT position = 0);
    int ClientWidth() const { return ClientRect().right; }
    int ClientHeight() const { return ClientRect().bottom; }
    bool Logged(const std::string& text) const { return Diagnostics().find(text) != std::string::npos; }

private:
    RECT ClientRect() const;

    std::string m_path;
    DiagCapture m_capture;
    std::vector<RecordedBox> m_boxes;
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

// A window rectangle in the coordinates of another window's client area.
RECT RectIn(HWND window, HWND reference);
std::string ClassOf(HWND window);
std::string TextOf(HWND window);
DWORD StyleOf(HWND window);

// Form texts: a command line, a description and the given control lines.
std::string FormText(const std::string& description, const std::vector<std::string>& lines);

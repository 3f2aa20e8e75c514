#pragma once
// The form dialog: the program's one main window. It loads a form definition
// while it initialises, creates a window for every control line on a content
// panel that scrolls inside the dialog, and runs the built command line in
// the console window.

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "exec/ProcessRunner.h"
#include "exec/RunScriptFiles.h"
#include "formdef/FormModel.h"
#include "formui/CommandLineQuoting.h"
#include "formui/ContentPanel.h"
#include "formui/FormControl.h"
#include "formui/FormLayout.h"
#include "formui/HelpTips.h"
#include "formui/RememberedValues.h"
#include "framework/Controls.h"
#include "framework/DisplayScale.h"
#include "framework/Dialog.h"

class CTavrelDlg : public CDialog {
public:
    explicit CTavrelDlg(CWnd* parent = nullptr);
    ~CTavrelDlg() override;

    // Frame: loads and parses the form definition; true on success. The
    // controls of an earlier form are deleted first.
    BOOL LoadGuiFile(const std::string& path);

    // The form's control at `position` in file order, or null.
    FormControl* ControlAt(int position);
    // The control made from `def`; null before the controls are created.
    const FormControl* ControlFor(const CControlDef& def) const;

    // Control creation.
    void CreateControls();
    std::string FormatFlagLabel(const std::string& flag, const std::string& label);

    // Layout and scrolling.
    void LayoutControls();
    int MeasureTextHeight(const std::string& text, int width);
    // The font of the form's windows at the form's DPI.
    HFONT FormFont() const;
    void PlaceOnPanel(CWnd* window, const LayoutBox& box);
    // Lays the form out again at `dpi` in the outer rectangle `suggested`,
    // keeping the values and the control scrolled to in view.
    void ChangeDpi(int dpi, const RECT& suggested);
    void UpdateScrollBar();
    // Moves the content to `position` (clamped to the bar's range).
    void ScrollTo(int position);
    // Scrolls just enough to show the control row that holds `window`.
    void ScrollIntoView(HWND window);

    // Field values and validation.
    bool ValidateInputs();
    int ConfirmOverwrite(const std::string& path);  // IDYES or IDNO

    // Command line building.
    std::string BuildCommandLine(bool withCommand);
    // Reads a definition's current value from the windows made for it.
    ControlValueReader CurrentValueReader() const;

    // Run and action-button flow.
    bool RunEmbeddedBatch(const std::string& arguments);
    INT_PTR LaunchConsole(const std::string& commandLine);

    // Field input helpers.
    void LogFocus(const char* tag);

    // Remembered values (kept per user for each form file).
    void RestoreFieldValues();
    void StoreFieldValues();
    void ClearFieldValues();
    // The values of the form's controls as the store keeps them.
    std::vector<RememberedValue> CurrentFieldValues() const;
    // Puts stored values into the controls that still match them; the
    // others stay as they are. The number of controls filled, or -1 before
    // the controls exist.
    int ApplyFieldValues(const std::vector<RememberedValue>& stored);
    ControlIdentity IdentityOfControl(size_t position) const;

    // Run history and presets (kept in the form's store).
    void RecordRun(const std::string& commandLine, const std::vector<RememberedValue>& values);
    void ShowRunHistory();
    void RunAgain(const RunRecord& run);
    void AskAndSavePreset();
    void AskAndDeletePreset();
    // False when the store could not be written (the user was told).
    bool SavePreset(const std::string& name);
    void ApplyPreset(size_t index);
    void FillPresetsMenu();

    // The form's own system-menu items.
    void AddFormMenuItems(HMENU systemMenu);
    bool OnFormMenuCommand(UINT command);  // false: not one of ours
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // The line a run would start, as the Shift preview shows it, with the
    // environment references expanded; a batch form's script is named by
    // the form's command.
    std::string CommandLineToCopy();
    void CopyCommandLine();
    // The Shift preview's text.
    std::string PreviewCommandLine();

    HICON m_hIcon = nullptr;
    std::string m_strGuiPath;
    std::string m_strTitle;
    CFormModel m_form;
    // One per definition of m_form, in the same order, from CreateControls
    // on: the windows made for each. Declared after the model, which
    // outlives them.
    std::vector<FormControl> m_formControls;
    HelpTips m_helpTips;  // of m_formControls: declared after them, gone before them
    CStatic m_staticDescription;
    CButton m_btnRun;
    CScrollBar m_scrollBar;
    CContentPanel m_panel;
    CButton m_groupRequired;
    bool m_bScrollStripDropped = false;  // the last layout narrowed the dialog by the strip
    int m_nScrollPos = 0;
    int m_nContentHeight = 0;
    int m_nClientHeight = 0;
    int m_nNextControlId = 2000;
    int m_nWheelRemainder = 0;  // wheel delta not yet turned into lines
    int m_nHideFlagsWhileCreating = -1;  // the flag setting while controls are created; -1 outside
    bool m_bToldValuesNotKept = false;   // the box that values could not be stored was shown
    ProcessRunner m_runner;
    RunScriptFiles m_runScripts;  // {{batch cmd}} scripts, deleted once their runs end
    // The action button whose run is starting, -1 for the Run button.
    int m_nRunButton = -1;
    HMENU m_hPresetsMenu = nullptr;  // the system menu's "Presets" submenu

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange() override {}
    BOOL PreTranslateMessage(MSG* msg) override;

    void OnSysCommand(UINT id, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnRun();
    void OnVScroll(UINT code, UINT position, HWND scrollBar);
    void OnSize(UINT type, int cx, int cy);
    LRESULT OnMouseWheel(WPARAM wParam, LPARAM lParam);
    bool ForwardWheelToForm(const MSG& msg);
    bool IgnoreEnterForHiddenRun(const MSG& msg);
    void OnTimer(UINT_PTR id);
    void OnSetFocus(HWND oldFocus);
    void OnKillFocus(HWND newFocus);
    void OnBrowse(UINT id);
    void OnActionButton(UINT id);
    void OnRadioClicked(UINT id);
    void OnRadioEditChange(UINT id);
    void OnDropFiles(HDROP drop);
    // Posted by LaunchConsole: stores the values once the command started.
    static constexpr UINT kRunStartedMessage = WM_APP + 1;
    LRESULT OnRunStarted(WPARAM, LPARAM);
    LRESULT OnDpiChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnInitMenuPopup(WPARAM menu, LPARAM);

    DECLARE_MESSAGE_MAP()
};

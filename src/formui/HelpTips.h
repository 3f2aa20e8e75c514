#pragma once
// The {{help}} lines of a form as tooltips: one tooltip window shows a
// control's help after the usual hover delay over any of its windows, its
// label included; a second one shows it just below a control that gets the
// keyboard focus, until the user types, clicks or moves on.

#include <windows.h>

#include <vector>

class FormControl;

class HelpTips {
public:
    HelpTips() = default;
    ~HelpTips();
    HelpTips(const HelpTips&) = delete;
    HelpTips& operator=(const HelpTips&) = delete;

    // Adds a tool for every window of every control with help; makes no
    // window at all for a form without help. `controls` must outlive the
    // tips' use (the form window owns both).
    void Create(HWND owner, const std::vector<FormControl>& controls);
    // The keyboard focus moved to `focus`: its control's help below it, or
    // no focus tip when it has none.
    void ShowForFocus(HWND focus);
    void HideFocusTip();

private:
    const FormControl* ControlWith(HWND window) const;

    HWND m_owner = nullptr;
    HWND m_hoverTip = nullptr;
    HWND m_focusTip = nullptr;
    const std::vector<FormControl>* m_controls = nullptr;
    bool m_focusTipShown = false;
};

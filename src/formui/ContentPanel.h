#pragma once
// The panel every field control lives on. Scrolling moves the panel; the
// panel hands every WM_COMMAND on to the dialog so that the dialog's message
// map sees all control notifications.
//
// The panel also remembers where each of its windows belongs in the content
// (see PanelPlacement.h): a form taller than a window may be is shown
// through a band of the content, and moving the band places every window
// again from its content position. What it remembers belongs to the panel
// object and is dropped with the panel's window.

#include <unordered_map>

#include "framework/Wnd.h"

class CContentPanel : public CWnd {
public:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    // Moves `window` (a child of the panel) to (x, contentY) with the given
    // size, relative to the panel's current base, and remembers the content
    // position.
    void Place(CWnd* window, int x, int contentY, int width, int height);
    // The content position shown at the panel's top.
    int Base() const { return m_base; }
    // Moves the band to `base` and places every remembered window again.
    void SetBase(int base);
    // The content position remembered for a window of this panel; false
    // when it was never placed.
    bool GetContentPosition(HWND window, int* contentY, int* height) const;

protected:
    UINT OnGetDlgCode();
    LRESULT OnDestroyPanel(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    struct Placement {
        int contentY = 0;
        int height = 0;
    };
    // Kept in our own memory (every control is placed at least once, and a
    // window property costs a round trip to the window server on some
    // systems).
    int m_base = 0;
    std::unordered_map<HWND, Placement> m_placements;
};

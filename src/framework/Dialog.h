#pragma once
// CDialog: a dialog built from one of our dialog templates.
//
// DoModal runs our own modal loop instead of the system's:
//  - the dialog is created hidden and shown when the loop first finds the
//    queue empty, so a quit request posted during OnInitDialog ends it
//    before it was ever visible;
//  - PreTranslateMessage sees every message first; the dialog's own
//    keyboard navigation happens there, so an override that calls the base
//    version sees the focus after a Tab;
//  - a WM_QUIT ends the loop and is posted again, so every enclosing loop
//    ends too;
//  - a dialog that OnInitDialog did not move is centred afterwards.

#include "framework/Wnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    // Runs the dialog modally; returns the EndDialog result, or -1 when the
    // dialog could not be created or a quit request ended it.
    virtual INT_PTR DoModal();
    // Creates the dialog modeless and hidden (tests and tools). The caller
    // shows and destroys it.
    BOOL Create(CWnd* parent = nullptr);
    void EndDialog(int result);

    BOOL PreTranslateMessage(MSG* msg) override;

    int m_nDpi = 96;  // the DPI the dialog is laid out for

protected:
    virtual BOOL OnInitDialog();
    // Binds members to the template's controls (DDX_Control).
    virtual void DoDataExchange() {}
    void DDX_Control(int id, CWnd& control);
    virtual void OnOK();
    virtual void OnCancel();
    void CenterWindow();
    // Moved to a monitor of another scale: the dialog takes the rectangle
    // the system suggests, and every control of the template its position,
    // size and font scaled to the new DPI. Dialogs that lay themselves out
    // handle the message themselves.
    LRESULT OnDpiChanged(WPARAM wParam, LPARAM lParam);

    UINT m_templateId;
    CWnd* m_pParentWnd;

    DECLARE_MESSAGE_MAP()

private:
    static INT_PTR CALLBACK StaticDialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND CreateHidden(HWND owner);
    void RunModalLoop();

    int m_nOpenedDpi = 96;          // the DPI the system made the template's font for
    HFONT m_scaledFont = nullptr;  // that font made for m_nDpi, once moved
    bool m_inModalLoop = false;
    bool m_endModal = false;
    int m_modalResult = -1;
};

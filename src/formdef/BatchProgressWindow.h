#pragma once
// The small window a slow {{batch gui}} script gets. The form is not shown
// until the script has ended, so after a moment the user sees that the form
// is being prepared, for how long, and how much the script has printed, and
// can stop it: Cancel, Escape and closing the window all cancel.

#include <string>

#include "formdef/BatchScriptRun.h"
#include "framework/Controls.h"

class BatchProgressWindow : public CWnd, public BatchScriptWatch {
public:
    // A script that ends sooner never shows the window.
    static constexpr DWORD kShowAfterMs = 1000;

    // `formPath`: the form file, named in the window.
    explicit BatchProgressWindow(const std::string& formPath);

    // Shows the window once the script has run for kShowAfterMs, keeps its
    // figures current and handles its messages. False once cancelled.
    bool KeepRunning(DWORD elapsedMs, size_t bytesReceived) override;

    void OnCancelPressed();
    LRESULT OnClose(WPARAM, LPARAM);

    // Control identifiers, for tests.
    static constexpr UINT kStatusId = 101;

protected:
    DECLARE_MESSAGE_MAP()

private:
    void Open();
    void PumpMessages();

    std::string m_formName;
    CStatic m_message;
    CStatic m_status;
    CButton m_cancel;
    bool m_openTried = false;
    bool m_cancelled = false;
};

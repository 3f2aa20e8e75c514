// The console window's keyboard and mouse: typed keys go to the child,
// a right-click copies, Escape closes or offers to end the child.

#include "common/Diag.h"
#include "exec/FakeConsoleDlg.h"
#include "exec/ProcessRunner.h"
#include "exec/SystemCodePages.h"
#include "framework/WinApp.h"

namespace {

bool IsWindowOf(HWND dialog, HWND hWnd) { return hWnd == dialog || ::IsChild(dialog, hWnd); }

// A right-click copies the selection instead of opening a context menu.
void CopySelection(CRichEditCtrl& output)
{
    long start = 0, end = 0;
    output.GetSel(start, end);
    if (start != end) {
        output.SendMessage(WM_COPY);
        Diag("Right-click: Copied %d characters to clipboard\n", static_cast<int>(end - start));
    }
    const long length = output.GetTextLength();
    output.SetSel(length, length);
}

void PassTypedCharacter(FakeConsoleDlg& console, WPARAM character)
{
    if (!console.runner->IsRunning())
        return;
    if (character == '\r') {
        console.runner->WriteInput("\r\n");
        console.AppendOutput("\r\n");
        return;
    }
    const std::string typed = TypedCharacterForChild(character, console.outputDecoder.SawUtf8());
    if (typed.empty() || typed.find('\0') != std::string::npos)
        return;
    console.runner->WriteInput(typed.c_str());
    // Control characters and characters beyond 7 bits are sent but not echoed.
    if (typed.size() == 1 && static_cast<signed char>(typed[0]) >= ' ')
        console.AppendOutput(typed);
}

// Keys the control acts on when they go down (rather than through the
// character they produce): in run mode they would edit the output.
bool EditsText(WPARAM virtualKey)
{
    const bool control = ::GetKeyState(VK_CONTROL) < 0;
    switch (virtualKey) {
    case VK_RETURN:
    case VK_BACK:
    case VK_DELETE:
    case VK_TAB:
        return true;
    case VK_INSERT:
        return !control;  // Shift+Insert pastes, Ctrl+Insert only copies
    case 'V':
    case 'X':
    case 'Z':
    case 'Y':
        return control;
    default:
        return false;
    }
}

void OnEscape(FakeConsoleDlg& console)
{
    if (console.runner == nullptr || !console.runner->IsRunning()) {
        console.EndDialog(IDCANCEL);
        return;
    }
    // The window stays open: the next tick finds the child ended and shows
    // the exit banner.
    if (console.MessageBox("Terminate the running process?", AfxGetAppName(), MB_YESNO | MB_ICONQUESTION) ==
        IDYES)
        console.runner->Terminate();
}

}  // namespace

BOOL FakeConsoleDlg::PreTranslateMessage(MSG* msg)
{
    if (!IsWindow() || !IsWindowOf(m_hWnd, msg->hwnd))
        return CDialog::PreTranslateMessage(msg);
    switch (msg->message) {
    case WM_RBUTTONDOWN:
        if (msg->hwnd == outputCtrl.m_hWnd) {
            CopySelection(outputCtrl);
            return TRUE;
        }
        break;
    case WM_CHAR:
        // In text mode typed keys reach the control.
        if (runner != nullptr) {
            PassTypedCharacter(*this, msg->wParam);
            return TRUE;
        }
        break;
    case WM_KEYDOWN:
        if (msg->wParam == VK_ESCAPE) {
            OnEscape(*this);
            return TRUE;
        }
        if (runner != nullptr && EditsText(msg->wParam)) {
            // The character the key makes still reaches the child.
            ::TranslateMessage(msg);
            return TRUE;
        }
        break;
    default:
        break;
    }
    return CDialog::PreTranslateMessage(msg);
}

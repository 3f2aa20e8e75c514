// The console window's keyboard and mouse: typed lines go to the child,
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
    if (console.runner == nullptr || !console.ChildRunning()) {
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

void FakeConsoleDlg::TypeCharacter(char16_t unit)
{
    // After the end nothing is sent or shown.
    if (!ChildRunning())
        return;
    if (unit == u'\r') {
        SendTypedLine();
        return;
    }
    if (unit == u'\b') {
        bool echoed = false;
        if (typing.Erase(echoed) && echoed)
            EraseLastShownCharacter();
        return;
    }
    if (unit == 0 || unit == u'\n')
        return;
    const std::string echo = typing.Type(unit);
    if (echo.empty())
        return;
    const size_t echoedBefore = echoedAtEnd;
    AppendOutput(echo);
    echoedAtEnd = echoedBefore + 1;
}

void FakeConsoleDlg::SendTypedLine()
{
    const std::string line = TypedLineForChild(typing.TakeLine(), outputDecoder.SawUtf8(), Utf8ToSystemOem);
    runner->WriteInput((line + "\r\n").c_str());
    AppendOutput("\r\n");
}

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
            for (wchar_t unit : TypedCharacterAsWide(msg->wParam))
                TypeCharacter(static_cast<char16_t>(unit));
            return TRUE;
        }
        break;
    case WM_KEYDOWN:
        if (msg->wParam == VK_ESCAPE) {
            OnEscape(*this);
            return TRUE;
        }
        if (runner != nullptr) {
            // The characters the key makes are taken here as UTF-16: an
            // 8-bit message loop would turn those beyond the input code
            // page into question marks.
            ::TranslateMessage(msg);
            MSG typed;
            while (::PeekMessageW(&typed, msg->hwnd, WM_CHAR, WM_CHAR, PM_REMOVE))
                TypeCharacter(static_cast<char16_t>(typed.wParam));
            // Other keys (scrolling, copying) still work the control.
            if (!EditsText(msg->wParam))
                ::DispatchMessageA(msg);
            return TRUE;
        }
        break;
    default:
        break;
    }
    return CDialog::PreTranslateMessage(msg);
}

// Baselines of the form-open benchmark: programs of ours, built like
// tavrel.exe (same toolchain, runtime, framework and resources).
//
//   form_open_baseline          shows the form dialog's empty template
//                               modally and does nothing else.
//   form_open_baseline COUNT    shows it with the windows tavrel.exe creates
//                               for the benchmark's form of COUNT controls
//                               (panel, description, Run button, group box,
//                               scroll bar, and every label, edit box, Browse
//                               button, drop-down, checkbox and radio), each
//                               created straight at a fixed place in its
//                               font: what a hand-written dialog of those
//                               windows costs, without reading a form file,
//                               measuring text or moving anything.

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "BenchForm.h"
#include "framework/Dialog.h"
#include "framework/WinApp.h"
#include "resource.h"

namespace {

constexpr int kStrip = 16;
constexpr int kLowest = 32000;  // below this no child can be placed

HFONT GuiFont() { return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)); }

class SameWindowsDialog : public CDialog {
public:
    explicit SameWindowsDialog(int count) : CDialog(IDD_TAVREL_DIALOG), m_count(count) {}

protected:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        RECT client = {};
        ::GetClientRect(m_hWnd, &client);
        const int cw = client.right;
        const int w = cw - 36;
        HINSTANCE instance = ::GetModuleHandleA(nullptr);

        HWND bar = ::CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | SBS_VERT, 0, 0, 0, 0, m_hWnd,
                                     nullptr, instance, nullptr);
        const char* panelClass =
            AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), nullptr);
        m_panel = ::CreateWindowExA(WS_EX_CONTROLPARENT, panelClass, nullptr,
                                    WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, cw - kStrip, 30000,
                                    m_hWnd, nullptr, instance, nullptr);
        Child("STATIC", "A benchmark form.", WS_VISIBLE, 10, 10, cw - 106, 13);
        Child("BUTTON", "Run", WS_VISIBLE | WS_TABSTOP, cw - 86, 10, 60, 25);
        int y = 55;
        const int groupTop = y - 15;
        HWND group = Child("BUTTON", "Required", BS_GROUPBOX, 5, groupTop, w + 10, 10);

        for (const BenchControl& c : BenchFormControls(m_count)) {
            const std::string n = std::to_string(c.line);
            const int top = std::min(y, kLowest);
            switch (c.kind) {
            case BenchKind::RequiredText:
            case BenchKind::Number:
            case BenchKind::Text:
                Child("EDIT", "", kEdit, 10, top, 100, 20);
                Child("STATIC", ("-" + n + "   Text " + n).c_str(), WS_VISIBLE, 115, top + 3, w - 105, 13);
                y += 29;
                break;
            case BenchKind::File:
            case BenchKind::Folder:
                Child("STATIC", ("-" + n + "   File " + n + ":").c_str(), WS_VISIBLE, 10, top, w, 13);
                Child("EDIT", "", kEdit, 10, top + 15, w - 65, 20);
                Child("BUTTON", "Browse...", WS_VISIBLE | BS_PUSHBUTTON, w - 50, top + 15, 60, 20);
                y += 44;
                break;
            case BenchKind::Drive: {
                HWND combo = Child("COMBOBOX", "", WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST,
                                   10, top, 100, 200);
                FillDrives(combo);
                Child("STATIC", ("-" + n + "   Drive " + n).c_str(), WS_VISIBLE, 115, top + 3, w - 105, 13);
                y += 29;
                break;
            }
            case BenchKind::Checkbox:
                Child("BUTTON", ("-c" + n + "   Checkbox " + n + " with a label of a few words").c_str(),
                      WS_VISIBLE | BS_AUTOCHECKBOX | BS_LEFT | BS_TOP | BS_MULTILINE, 10, top, w, 13);
                y += 22;
                break;
            case BenchKind::Radio:
                Child("BUTTON", ("-r" + n + "   Choice " + n).c_str(),
                      WS_VISIBLE | BS_AUTORADIOBUTTON | BS_LEFT | BS_TOP | BS_MULTILINE |
                          (c.firstInGroup ? WS_GROUP : 0),
                      10, top, w, 13);
                y += c.lastInGroup ? 22 : 18;
                break;
            }
        }
        if (m_count > 0)
            ::ShowWindow(group, SW_SHOW);

        // The dialog's height follows the content up to the screen's height
        // less 150, with the scroll bar beyond that.
        RECT outer = {};
        ::GetWindowRect(m_hWnd, &outer);
        const int maxHeight = ::GetSystemMetrics(SM_CYSCREEN) - 150;
        const bool scrolls = y + 30 > maxHeight;
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, outer.right - outer.left - (scrolls ? 0 : kStrip),
                       std::max(90, std::min(y + 30, maxHeight)), SWP_NOMOVE | SWP_NOZORDER);
        if (scrolls) {
            ::GetClientRect(m_hWnd, &client);
            ::MoveWindow(bar, client.right - kStrip, 0, kStrip, client.bottom, TRUE);
            SCROLLINFO info = { sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, y - 1,
                                static_cast<UINT>(client.bottom), 0, 0 };
            ::SetScrollInfo(bar, SB_CTL, &info, TRUE);
            ::ShowWindow(bar, SW_SHOW);
        }
        return TRUE;
    }

private:
    static constexpr DWORD kEdit = WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;

    HWND Child(const char* cls, const char* text, DWORD style, int x, int y, int width, int height)
    {
        HWND window = ::CreateWindowExA(0, cls, text, WS_CHILD | style, x, y, width, height, m_panel,
                                        nullptr, ::GetModuleHandleA(nullptr), nullptr);
        if (window != nullptr)
            ::SendMessageA(window, WM_SETFONT, (WPARAM)GuiFont(), FALSE);
        return window;
    }

    static void FillDrives(HWND combo)
    {
        ::SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM) "<select drive>");
        char roots[512] = {};
        DWORD length = ::GetLogicalDriveStringsA(sizeof roots - 1, roots);
        if (length == 0 || length >= sizeof roots)
            return;
        for (const char* root = roots; *root != '\0'; root += strlen(root) + 1) {
            std::string drive(root);
            while (!drive.empty() && drive.back() == '\\')
                drive.pop_back();
            ::SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM)drive.c_str());
        }
        ::SendMessageA(combo, CB_SETCURSEL, 0, 0);
    }

    int m_count;
    HWND m_panel = nullptr;
};

class BareDialogApp : public CWinApp {
public:
    BOOL InitInstance() override
    {
        const char* count = __argc > 1 ? __argv[1] : nullptr;
        if (count != nullptr) {
            SameWindowsDialog dialog(atoi(count));
            m_pMainWnd = &dialog;
            dialog.DoModal();
        } else {
            CDialog dialog(IDD_TAVREL_DIALOG);
            m_pMainWnd = &dialog;
            dialog.DoModal();
        }
        m_pMainWnd = nullptr;
        return FALSE;
    }
};

BareDialogApp theApp;

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    return AfxWinMain(instance, commandLine);
}

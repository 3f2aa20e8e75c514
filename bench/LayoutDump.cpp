// Prints where every window of a form lies, so that two builds can be
// compared line by line (a change meant to keep the layout pixel-identical
// must print the same text). For each form given: the dialog's size, the
// content height, every window of the dialog in creation order (class, id,
// visibility, rectangle in the dialog's client area, text), and the same
// again after scrolling to a few positions on a form that scrolls.
//
// Usage: layout_dump FORM.gui...   (message boxes are answered and listed)

#include <windows.h>

#include <cstdio>
#include <string>

#include "common/Diag.h"
#include "formui/TavrelDlg.h"
#include "framework/WinApp.h"

namespace {

BOOL CALLBACK PrintWindow(HWND window, LPARAM dialog)
{
    char className[64] = {};
    ::GetClassNameA(window, className, sizeof className);
    char text[96] = {};
    ::GetWindowTextA(window, text, sizeof text);
    RECT rect = {};
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(nullptr, reinterpret_cast<HWND>(dialog), reinterpret_cast<POINT*>(&rect), 2);
    // A drop-down's open list is a window of its own: its size counts too.
    RECT list = {};
    if (lstrcmpiA(className, "ComboBox") == 0)
        ::SendMessageA(window, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&list));
    printf("  %-10s id=%-5d %s (%d,%d)-(%d,%d) list %dx%d '%s'\n", className, ::GetDlgCtrlID(window),
           (::GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) ? "shown " : "hidden", (int)rect.left,
           (int)rect.top, (int)rect.right, (int)rect.bottom, (int)(list.right - list.left),
           (int)(list.bottom - list.top), text);
    return TRUE;
}

void PrintForm(CTavrelDlg& dialog, const char* when)
{
    RECT outer = {};
    dialog.GetWindowRect(&outer);
    printf("%s: dialog %dx%d, content %d, client %d, scroll %d\n", when, (int)(outer.right - outer.left),
           (int)(outer.bottom - outer.top), dialog.m_nContentHeight, dialog.m_nClientHeight,
           dialog.m_nScrollPos);
    ::EnumChildWindows(dialog.m_hWnd, PrintWindow, reinterpret_cast<LPARAM>(dialog.m_hWnd));
}

}  // namespace

int main(int argc, char** argv)
{
    ::LoadLibraryA("RICHED20.DLL");
    SetDiagSink([](const std::string&) {});
    SetMessageBoxHook([](HWND, const std::string& text, const std::string&, UINT) {
        printf("message box: %s\n", text.c_str());
        return IDOK;
    });
    for (int i = 1; i < argc; ++i) {
        printf("== %s\n", argv[i]);
        CTavrelDlg dialog;
        dialog.m_strGuiPath = argv[i];
        dialog.Create();
        PrintForm(dialog, "opened");
        if (dialog.m_nContentHeight > dialog.m_nClientHeight) {
            const int last = dialog.m_nContentHeight - dialog.m_nClientHeight;
            for (int position : { last / 3, last / 2 + 7, last }) {
                dialog.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, position & 0xFFFF),
                                   (LPARAM)dialog.m_scrollBar.m_hWnd);
                PrintForm(dialog, ("scrolled to " + std::to_string(position)).c_str());
            }
        }
        dialog.DestroyWindow();
    }
    return 0;
}

// Prints where every window of a form lies, so that two builds can be
// compared line by line (a change meant to keep the layout pixel-identical
// must print the same text). For each form given: the dialog's size, the
// content height, every window of the dialog in creation order (class, id,
// visibility, rectangle in the dialog's client area, text), and the same
// again after scrolling to a few positions on a form that scrolls.
//
// Usage: layout_dump FORM.gui...   (message boxes are answered and listed)
//        layout_dump --time N FORM.gui...
//        layout_dump --time N --dpi 96,192 FORM.gui...
// With --time, prints instead how long the hidden form dialog takes to
// initialise (load, create, lay out) in this process, the fastest and the
// median of N openings: the form's own work without process start-up and
// painting, and little disturbed by other work on the machine. With --dpi,
// each opening is followed by the move to a monitor of each DPI given
// (fonts and layout made again for it), timed as a whole, the DPIs taking
// turns so that a busy machine slows all alike.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/Diag.h"
#include "common/DpiScale.h"
#include "formui/TavrelDlg.h"
#include "framework/DisplayScale.h"
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

// `dpi` 0: opened as it is; else moved to a monitor of that DPI too.
double OpenMilliseconds(const char* path, int dpi = 0)
{
    LARGE_INTEGER frequency, start, end;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    CTavrelDlg dialog;
    dialog.m_strGuiPath = path;
    dialog.Create();
    if (dpi > 0) {
        RECT outer = {};
        dialog.GetWindowRect(&outer);
        const int from = dialog.m_nDpi;
        RECT suggested = { outer.left, outer.top, outer.left + RescaleDpi(outer.right - outer.left, from, dpi),
                           outer.top + RescaleDpi(outer.bottom - outer.top, from, dpi) };
        dialog.SendMessage(WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    }
    ::QueryPerformanceCounter(&end);
    dialog.DestroyWindow();
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void PrintTimes(const char* path, int runs)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i)
        times.push_back(OpenMilliseconds(path));
    std::sort(times.begin(), times.end());
    printf("%-40s min %8.1f ms   median %8.1f ms\n", path, times.front(), times[times.size() / 2]);
}

void PrintTimesAtDpis(const char* path, int runs, const std::vector<int>& dpis)
{
    std::vector<std::vector<double>> times(dpis.size());
    for (int i = 0; i < runs; ++i)
        for (size_t d = 0; d < dpis.size(); ++d)
            times[d].push_back(OpenMilliseconds(path, dpis[d]));
    for (size_t d = 0; d < dpis.size(); ++d) {
        std::sort(times[d].begin(), times[d].end());
        printf("%-40s at %3d DPI   min %8.1f ms   median %8.1f ms\n", path, dpis[d], times[d].front(),
               times[d][times[d].size() / 2]);
    }
}

std::vector<int> ParseDpis(const char* list)
{
    std::vector<int> dpis;
    for (const char* p = list; *p != '\0';) {
        dpis.push_back(atoi(p));
        while (*p != '\0' && *p != ',')
            ++p;
        if (*p == ',')
            ++p;
    }
    return dpis;
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
    if (argc > 2 && strcmp(argv[1], "--time") == 0) {
        const int runs = std::max(1, atoi(argv[2]));
        if (argc > 4 && strcmp(argv[3], "--dpi") == 0) {
            const std::vector<int> dpis = ParseDpis(argv[4]);
            for (int i = 5; i < argc; ++i)
                PrintTimesAtDpis(argv[i], runs, dpis);
            return 0;
        }
        for (int i = 3; i < argc; ++i)
            PrintTimes(argv[i], runs);
        return 0;
    }
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

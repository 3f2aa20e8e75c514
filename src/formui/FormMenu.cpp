// The form's own system-menu items: copying the command line a run would
// start, and clearing the remembered values.

#include <windows.h>

#include <string>

#include "common/Diag.h"
#include "formui/TavrelDlg.h"
#include "framework/Clipboard.h"
#include "framework/WideText.h"
#include "framework/WinApp.h"

namespace {
// System commands of our own: below 0xF000, low four bits clear.
constexpr UINT kCopyCommandLineCommand = 0x0020;
constexpr UINT kClearValuesCommand = 0x0030;
}  // namespace

void CTavrelDlg::AddFormMenuItems(HMENU systemMenu)
{
    ::AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(systemMenu, MF_STRING, kCopyCommandLineCommand, "Copy command line");
    ::AppendMenuA(systemMenu, MF_STRING, kClearValuesCommand, "Clear remembered values");
}

bool CTavrelDlg::OnFormMenuCommand(UINT command)
{
    if (command == kCopyCommandLineCommand) {
        CopyCommandLine();
        return true;
    }
    if (command == kClearValuesCommand) {
        ClearFieldValues();
        return true;
    }
    return false;
}

std::string CTavrelDlg::CommandLineToCopy()
{
    // What the runner would start: the line the Run button builds, with the
    // environment references expanded as the runner expands them.
    std::string line = PreviewCommandLine();
    std::string expanded;
    return ExpandEnvironmentReferences(line, expanded) ? expanded : line;
}

void CTavrelDlg::CopyCommandLine()
{
    std::string line = CommandLineToCopy();
    if (PutTextOnClipboard(m_hWnd, line))
        Diag("Copied command line to clipboard: %s\n", line.c_str());
    else
        AfxMessageBox("Could not put the command line on the clipboard.", MB_OK | MB_ICONEXCLAMATION);
}

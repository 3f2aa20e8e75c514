// The form's own system-menu items: copying the command line a run would
// start, clearing the remembered values, the run history and the presets.

#include <windows.h>

#include <string>

#include "common/Diag.h"
#include "formui/TavrelDlg.h"
#include "formui/ValueStore.h"
#include "framework/Clipboard.h"
#include "framework/WideText.h"
#include "framework/WinApp.h"

namespace {
// System commands of our own: below 0xF000, low four bits clear.
constexpr UINT kCopyCommandLineCommand = 0x0020;
constexpr UINT kClearValuesCommand = 0x0030;
constexpr UINT kRunHistoryCommand = 0x0040;
constexpr UINT kSavePresetCommand = 0x0050;
constexpr UINT kDeletePresetCommand = 0x0060;
// One per preset, in the order the submenu lists them. The submenu reports
// them as WM_COMMAND, so they lie above every control's identifier.
constexpr UINT kFirstPresetCommand = 0xE000;
constexpr UINT kCommandStep = 0x0010;
constexpr size_t kMaxPresetItems = 200;
static_assert(kFirstPresetCommand + kCommandStep * kMaxPresetItems <= 0xF000, "system commands start at 0xF000");
}  // namespace

void CTavrelDlg::AddFormMenuItems(HMENU systemMenu)
{
    ::AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(systemMenu, MF_STRING, kCopyCommandLineCommand, "Copy command line");
    ::AppendMenuA(systemMenu, MF_STRING, kClearValuesCommand, "Clear remembered values");
    ::AppendMenuA(systemMenu, MF_STRING, kRunHistoryCommand, "Run history...");
    ::AppendMenuA(systemMenu, MF_STRING, kSavePresetCommand, "Save values as preset...");
    // Filled each time it opens: another window of the form may have saved
    // presets since.
    m_hPresetsMenu = ::CreatePopupMenu();
    if (m_hPresetsMenu != nullptr) {
        FillPresetsMenu();
        ::AppendMenuA(systemMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(m_hPresetsMenu), "Presets");
    }
}

void CTavrelDlg::FillPresetsMenu()
{
    while (::GetMenuItemCount(m_hPresetsMenu) > 0)
        ::DeleteMenu(m_hPresetsMenu, 0, MF_BYPOSITION);
    FormStore store;
    if (!m_strGuiPath.empty())
        LoadFormStore(m_strGuiPath, store);
    for (size_t i = 0; i < store.presets.size() && i < kMaxPresetItems; ++i) {
        // An ampersand in a name is shown, not taken as a mnemonic.
        std::string text;
        for (char c : store.presets[i].name)
            text += c == '&' ? std::string("&&") : std::string(1, c);
        ::AppendMenuA(m_hPresetsMenu, MF_STRING, kFirstPresetCommand + kCommandStep * i, text.c_str());
    }
    if (store.presets.empty())
        ::AppendMenuA(m_hPresetsMenu, MF_STRING | MF_GRAYED, 0, "(no presets)");
    ::AppendMenuA(m_hPresetsMenu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(m_hPresetsMenu, MF_STRING | (store.presets.empty() ? MF_GRAYED : 0), kDeletePresetCommand,
                  "Delete preset...");
}

LRESULT CTavrelDlg::OnInitMenuPopup(WPARAM menu, LPARAM)
{
    if (m_hPresetsMenu != nullptr && reinterpret_cast<HMENU>(menu) == m_hPresetsMenu)
        FillPresetsMenu();
    return Default();
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
    if (command == kRunHistoryCommand) {
        ShowRunHistory();
        return true;
    }
    if (command == kSavePresetCommand) {
        AskAndSavePreset();
        return true;
    }
    if (command == kDeletePresetCommand) {
        AskAndDeletePreset();
        return true;
    }
    if (command >= kFirstPresetCommand && command < kFirstPresetCommand + kCommandStep * kMaxPresetItems) {
        ApplyPreset((command - kFirstPresetCommand) / kCommandStep);
        return true;
    }
    return false;
}

// Choosing an item of the Presets submenu sends WM_COMMAND, not
// WM_SYSCOMMAND: a submenu of the system menu reports as any menu does.
BOOL CTavrelDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT command = LOWORD(wParam);
    const bool fromMenu = lParam == 0 && HIWORD(wParam) == 0;
    const bool presetsItem = command == kDeletePresetCommand ||
                             (command >= kFirstPresetCommand &&
                              command < kFirstPresetCommand + kCommandStep * kMaxPresetItems);
    if (fromMenu && presetsItem && OnFormMenuCommand(command))
        return TRUE;
    return CDialog::OnCommand(wParam, lParam);
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

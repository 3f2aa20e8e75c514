#include "framework/FileDialogs.h"

#include <commdlg.h>

#include "common/Diag.h"
#include "framework/SystemLibrary.h"

namespace {
SaveDialogHook& Hook()
{
    static SaveDialogHook hook;
    return hook;
}
}  // namespace

void SetSaveDialogHook(SaveDialogHook hook) { Hook() = std::move(hook); }

bool ShowFileDialog(HWND owner, FileDialogKind kind, const char* filter, const char* defaultExtension, DWORD flags,
                    std::string& path)
{
    using FileDialogFn = BOOL(WINAPI*)(LPOPENFILENAMEA);
    static const auto openDialog = SystemFunction<FileDialogFn>("comdlg32.dll", "GetOpenFileNameA");
    static const auto saveDialog = SystemFunction<FileDialogFn>("comdlg32.dll", "GetSaveFileNameA");
    FileDialogFn show = kind == FileDialogKind::Save ? saveDialog : openDialog;
    if (show == nullptr) {
        Diag("ERROR: File dialog not available\n");
        return false;
    }
    char fileName[MAX_PATH] = {};
    lstrcpynA(fileName, path.c_str(), sizeof fileName);
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = fileName;
    dialog.nMaxFile = sizeof fileName;
    dialog.lpstrDefExt = defaultExtension;
    dialog.Flags = flags;
    if (!show(&dialog))
        return false;
    path = fileName;
    return true;
}

bool AskSavePath(HWND owner, const char* filter, const char* defaultExtension, std::string& path)
{
    if (Hook())
        return Hook()(path);
    return ShowFileDialog(owner, FileDialogKind::Save, filter, defaultExtension,
                          OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_ENABLESIZING,
                          path);
}

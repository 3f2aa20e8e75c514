#include "framework/SaveFileDialog.h"

#include <commdlg.h>

#include "framework/SystemLibrary.h"

namespace {
SaveDialogHook& Hook()
{
    static SaveDialogHook hook;
    return hook;
}
}  // namespace

void SetSaveDialogHook(SaveDialogHook hook) { Hook() = std::move(hook); }

bool AskSavePath(HWND owner, const char* filter, const char* defaultExtension, std::string& path)
{
    if (Hook())
        return Hook()(path);
    using SaveDialogFn = BOOL(WINAPI*)(LPOPENFILENAMEA);
    static const auto show = SystemFunction<SaveDialogFn>("comdlg32.dll", "GetSaveFileNameA");
    if (show == nullptr)
        return false;
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
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_ENABLESIZING;
    if (!show(&dialog))
        return false;
    path = fileName;
    return true;
}

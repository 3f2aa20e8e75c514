#include "framework/FileDialogs.h"

#include <commdlg.h>

#include "common/Diag.h"
#include "framework/SystemLibrary.h"
#include "framework/WideText.h"

namespace {
// Characters, room for long paths as the Unicode dialog allows them.
constexpr DWORD kFileNameBufferSize = 8192;

SaveDialogHook& Hook()
{
    static SaveDialogHook hook;
    return hook;
}
}  // namespace

void SetSaveDialogHook(SaveDialogHook hook) { Hook() = std::move(hook); }

// The Unicode dialog: the 8-bit one refuses a chosen path that takes more
// than 260 bytes, which a path of fewer characters may do in UTF-8.
bool ShowFileDialog(HWND owner, FileDialogKind kind, const wchar_t* filter, const wchar_t* defaultExtension,
                    DWORD flags, std::string& path)
{
    using FileDialogFn = BOOL(WINAPI*)(LPOPENFILENAMEW);
    static const auto openDialog = SystemLibraryFunction<FileDialogFn>("comdlg32.dll", "GetOpenFileNameW");
    static const auto saveDialog = SystemLibraryFunction<FileDialogFn>("comdlg32.dll", "GetSaveFileNameW");
    FileDialogFn show = kind == FileDialogKind::Save ? saveDialog : openDialog;
    if (show == nullptr) {
        Diag("ERROR: File dialog not available\n");
        return false;
    }
    std::wstring fileName = ToWide(path);
    fileName.resize(kFileNameBufferSize, L'\0');
    fileName.back() = L'\0';
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = &fileName[0];
    dialog.nMaxFile = kFileNameBufferSize;
    dialog.lpstrDefExt = defaultExtension;
    dialog.Flags = flags;
    if (!show(&dialog))
        return false;
    path = FromWide(fileName.substr(0, fileName.find(L'\0')));
    return true;
}

bool AskSavePath(HWND owner, const wchar_t* filter, const wchar_t* defaultExtension, std::string& path)
{
    if (Hook())
        return Hook()(path);
    return ShowFileDialog(owner, FileDialogKind::Save, filter, defaultExtension,
                          OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_ENABLESIZING,
                          path);
}

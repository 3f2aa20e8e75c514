#pragma once
// The system's Open and Save dialogs for one file. The Save dialog of the
// console can be answered by a test hook instead.

#include <windows.h>

#include <functional>
#include <string>

enum class FileDialogKind { Open, Save };

// `filter` is a file-dialog filter (pairs of NUL-terminated strings, ending
// in an empty one); `defaultExtension` (without the dot, or null) is added
// to a name typed without one; `flags` are OFN_... flags. `path` is the name
// shown at first and, on true, the file chosen. False when cancelled or when
// the dialog is not available (then traced).
bool ShowFileDialog(HWND owner, FileDialogKind kind, const wchar_t* filter, const wchar_t* defaultExtension,
                    DWORD flags, std::string& path);

// Save dialog that asks before an existing file is overwritten.
bool AskSavePath(HWND owner, const wchar_t* filter, const wchar_t* defaultExtension, std::string& path);

// Answers AskSavePath instead of the dialog: true with a path, or false for
// Cancel. Null restores the real dialog.
using SaveDialogHook = std::function<bool(std::string& path)>;
void SetSaveDialogHook(SaveDialogHook hook);

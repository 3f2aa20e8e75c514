#pragma once
// The system's Save dialog for one file. Tests replace it with a hook that
// answers at once.

#include <windows.h>

#include <functional>
#include <string>

// `filter` is a file-dialog filter (pairs of NUL-terminated strings, ending
// in an empty one); `defaultExtension` (without the dot) is added to a name
// typed without one. True with `path` set when the user chose a file; the
// dialog itself asks before an existing file is overwritten.
bool AskSavePath(HWND owner, const char* filter, const char* defaultExtension, std::string& path);

// Answers instead of the dialog: true with a path, or false for Cancel.
// Null restores the real dialog.
using SaveDialogHook = std::function<bool(std::string& path)>;
void SetSaveDialogHook(SaveDialogHook hook);

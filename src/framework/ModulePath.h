#pragma once
// Where the running executable lives, and files kept beside it.

#include <string>

// The executable's full path, however long: a path cut short would name
// another file, and whatever is registered or opened from it would be wrong.
std::string CurrentModulePath();

// The folder of `modulePath` (up to and including its last separator; the
// whole path when it has none), followed by `fileName`.
std::string PathBesideModule(const std::string& modulePath, const std::string& fileName);

// The executable's file name without folder and extension ("tavrel").
std::string ExecutableBaseName();

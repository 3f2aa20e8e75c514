#pragma once
// Splitting a path into its folder and file name. Both "\" and "/" separate
// folders, as they do for the system.

#include <string>

// Everything up to and including the last separator; empty when there is none.
std::string FolderOf(const std::string& path);

// Everything after the last separator; the whole path when there is none.
std::string FileNameOf(const std::string& path);

// The file name cut before its last dot ("tool.beta.exe" gives "tool.beta");
// a name whose only dot starts it (".exe") is kept whole.
std::string BaseNameOf(const std::string& path);

// The path without the prefix that lifts the system's length limit:
// "\\?\C:\x" gives "C:\x", "\\?\UNC\server\share" gives
// "\\server\share"; any other path is returned as it is.
std::string WithoutLongPathPrefix(const std::string& path);

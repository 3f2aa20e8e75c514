#pragma once
// Registry helpers of the file associations.

#include <windows.h>

#include <string>

// Deletes `subKey` under `root` with all its descendants. Returns a Win32
// error code: 0 on success, and 0 also when the key does not exist.
// An empty subkey path, or one ending in a backslash, names the root
// itself and is refused with ERROR_INVALID_PARAMETER: deleting "everything
// under HKEY_CURRENT_USER" is never what a caller meant.
LONG DeleteRegistryTree(HKEY root, const std::string& subKey);

// Reads the value `valueName` (null or "" for the default value) of an open
// key as text, up to its first zero, however long it is. On failure returns
// false and sets *error to the Win32 error code.
bool ReadRegistryText(HKEY key, const char* valueName, std::string* text, LONG* error);

// Writes a REG_SZ value, its terminating zero counted in the length.
LONG WriteRegistryText(HKEY key, const char* valueName, const std::string& text);

// Creates (or opens) `subKey` under `root` for setting values.
LONG CreateRegistryKey(HKEY root, const std::string& subKey, HKEY* key);

#pragma once
// Direct registry access for the association tests: set up what an earlier
// registration or another program left, and read back what was written,
// without going through the code under test.

#include <windows.h>

#include <string>
#include <vector>

inline bool KeyExists(HKEY root, const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// The value's text, or "<missing>" when the key or the value is absent.
inline std::string ValueText(HKEY root, const std::string& path, const char* valueName = nullptr)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "<missing>";
    std::vector<char> buffer(4096, '\0');
    DWORD size = static_cast<DWORD>(buffer.size() - 1);
    DWORD type = 0;
    LONG result = RegQueryValueExA(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS)
        return "<missing>";
    return std::string(buffer.data());
}

// Type and size of a value; false when it is absent.
inline bool ValueTypeAndSize(HKEY root, const std::string& path, const char* valueName, DWORD* type, DWORD* size)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    LONG result = RegQueryValueExA(key, valueName, nullptr, type, nullptr, size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

inline bool PutText(HKEY root, const std::string& path, const char* valueName, const std::string& text)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    LONG result = RegSetValueExA(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                 static_cast<DWORD>(text.size() + 1));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

inline void RemoveTree(HKEY root, const std::string& path)
{
    RegDeleteTreeA(root, path.c_str());
    RegDeleteKeyA(root, path.c_str());
}

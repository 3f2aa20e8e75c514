#include "config/RegistryTree.h"

#include <vector>

#include "framework/Handles.h"

LONG DeleteRegistryTree(HKEY root, const std::string& subKey)
{
    if (subKey.empty() || subKey.back() == '\\')
        return ERROR_INVALID_PARAMETER;

    UniqueRegistryKey key;
    LONG result =
        RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ | KEY_CREATE_SUB_KEY | KEY_SET_VALUE, key.Receive());
    if (result == ERROR_FILE_NOT_FOUND)
        return ERROR_SUCCESS;
    if (result != ERROR_SUCCESS)
        return result;

    for (;;) {
        // Always index 0: each child is gone once its subtree is deleted.
        char childName[256];
        DWORD nameLength = sizeof childName;
        result = RegEnumKeyExA(key.Get(), 0, childName, &nameLength, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS) {
            key.Reset();  // an open key cannot be deleted on every system
            return RegDeleteKeyA(root, subKey.c_str());
        }
        if (result != ERROR_SUCCESS)
            return result;
        result = DeleteRegistryTree(root, subKey + "\\" + childName);
        if (result != ERROR_SUCCESS)
            return result;
    }
}

bool ReadRegistryText(HKEY key, const char* valueName, std::string* text, LONG* error)
{
    DWORD size = 0;
    LONG result = RegQueryValueExA(key, valueName, nullptr, nullptr, nullptr, &size);
    // The value may grow between the two calls; a few rounds settle it.
    for (int attempt = 0; attempt < 4 && result == ERROR_SUCCESS; ++attempt) {
        std::vector<char> buffer(static_cast<size_t>(size) + 1, '\0');
        DWORD capacity = size;
        result = RegQueryValueExA(key, valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &capacity);
        if (result == ERROR_SUCCESS) {
            *text = std::string(buffer.data());  // up to the first zero
            return true;
        }
        if (result == ERROR_MORE_DATA) {
            size = capacity;
            result = ERROR_SUCCESS;
        }
    }
    *error = result == ERROR_SUCCESS ? ERROR_MORE_DATA : result;
    return false;
}

LONG WriteRegistryText(HKEY key, const char* valueName, const std::string& text)
{
    return RegSetValueExA(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1));
}

LONG CreateRegistryKey(HKEY root, const std::string& subKey, HKEY* key)
{
    return RegCreateKeyExA(root, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, key,
                           nullptr);
}

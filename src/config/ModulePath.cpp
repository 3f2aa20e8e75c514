#include "config/ModulePath.h"

#include <windows.h>

#include <vector>

std::string CurrentModulePath()
{
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return std::string();
        if (length < buffer.size())
            return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

std::string PathBesideModule(const std::string& modulePath, const std::string& fileName)
{
    size_t backslash = modulePath.rfind('\\');
    std::string folder = backslash == std::string::npos ? modulePath : modulePath.substr(0, backslash + 1);
    return folder + fileName;
}

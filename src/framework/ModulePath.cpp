#include "framework/ModulePath.h"

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

std::string ExecutableBaseName()
{
    std::string name = CurrentModulePath();
    size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    return name;
}

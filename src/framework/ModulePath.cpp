#include "framework/ModulePath.h"

#include <windows.h>

#include <vector>

#include "common/PathParts.h"

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
    std::string folder = FolderOf(modulePath);
    return (folder.empty() ? modulePath : folder) + fileName;
}

std::string ExecutableBaseName() { return BaseNameOf(CurrentModulePath()); }

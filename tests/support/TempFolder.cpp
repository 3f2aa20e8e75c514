#include "support/TempFolder.h"

#include <windows.h>

#include <cstdio>

namespace {

void RemoveTree(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string path = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

}  // namespace

TempFolder::TempFolder()
{
    static LONG serial = 0;
    char temp[MAX_PATH];
    GetTempPathA(sizeof(temp), temp);
    std::string base = temp;
    if (!base.empty() && base.back() == '\\')
        base.pop_back();
    for (int attempt = 0; attempt < 1000; ++attempt) {
        char name[96];
        snprintf(name, sizeof(name), "\\tavrel-test-%lu-%ld-%d", GetCurrentProcessId(),
                 InterlockedIncrement(&serial), attempt);
        if (CreateDirectoryA((base + name).c_str(), nullptr)) {
            m_path = base + name;
            return;
        }
    }
}

TempFolder::~TempFolder()
{
    if (!m_path.empty())
        RemoveTree(m_path);
}

std::string TempFolder::Write(const std::string& name, const std::string& bytes) const
{
    std::string path = PathOf(name);
    if (FILE* file = fopen(path.c_str(), "wb")) {
        fwrite(bytes.data(), 1, bytes.size(), file);
        fclose(file);
    }
    return path;
}

std::string TempFolder::MakeFolder(const std::string& name) const
{
    std::string path = PathOf(name);
    CreateDirectoryA(path.c_str(), nullptr);
    return path;
}

bool TempFolder::Copy(const std::string& source, const std::string& name) const
{
    return CopyFileA(source.c_str(), PathOf(name).c_str(), FALSE) != 0;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

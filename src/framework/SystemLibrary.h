#pragma once
// Functions of system libraries that most openings of a form never need
// (file dialogs, COM): loaded at their first use, which keeps start-up
// short. Always from the system folder, never from wherever the search
// order would find a library of that name first.

#include <windows.h>

#include <string>

template <class Function>
Function SystemFunction(const char* library, const char* name)
{
    char folder[MAX_PATH] = {};
    UINT length = ::GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    std::string path = std::string(folder) + "\\" + library;
    HMODULE module = ::LoadLibraryA(path.c_str());  // kept loaded for the program's life
    return module != nullptr ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name))) : nullptr;
}

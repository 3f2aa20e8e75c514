#include "framework/SystemLibrary.h"

#include <commctrl.h>

#include <string>

void RestrictLibrarySearch()
{
    // Known to Windows 8 and later and to Windows 7 with update KB2533623;
    // looked up, because an import would keep the program from starting
    // anywhere else.
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    const auto setDefault =
        SystemLibraryFunction<SetDefaultDllDirectoriesFn>("kernel32.dll", "SetDefaultDllDirectories");
    if (setDefault != nullptr && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32))
        return;
    // Older systems keep the program's folder first in the search; taking
    // the current folder out is what they allow.
    ::SetDllDirectoryA("");
}

HMODULE LoadSystemLibrary(const char* fileName)
{
    HMODULE module = ::LoadLibraryExA(fileName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module != nullptr || ::GetLastError() != ERROR_INVALID_PARAMETER)
        return module;
    // The flag is unknown to this system: name the file by its full path.
    char folder[MAX_PATH] = {};
    UINT length = ::GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    return ::LoadLibraryA((std::string(folder) + "\\" + fileName).c_str());
}

bool InitCommonControlClasses(DWORD classes)
{
    using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    static const auto initialize = SystemLibraryFunction<InitFunction>("comctl32.dll", "InitCommonControlsEx");
    INITCOMMONCONTROLSEX controls = { sizeof controls, classes };
    return initialize != nullptr && initialize(&controls);
}

void LoadRichEditLibrary() { LoadSystemLibrary("riched20.dll"); }

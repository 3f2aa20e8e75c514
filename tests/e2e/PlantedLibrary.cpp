// A library that must never be loaded: built as riched20.dll and placed
// beside a copy of tavrel.exe, where a search by bare name would find it
// before the system's. Loaded anyway, it leaves a marker file beside itself.

#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        // Plain Win32 calls: nothing may keep the library from loading.
        char path[MAX_PATH + 32] = {};
        DWORD length = GetModuleFileNameA(self, path, MAX_PATH);
        while (length > 0 && path[length - 1] != '\\')
            --length;
        lstrcpyA(path + length, "planted-library-was-loaded");
        HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
    }
    return TRUE;
}

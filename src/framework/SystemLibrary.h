#pragma once
// Libraries of the system, loaded from the system folder only: a file of the
// same name beside a copied or renamed tavrel.exe, or in the current folder,
// is never loaded in their place.

#include <windows.h>

// Narrows, for the rest of the process, where libraries loaded by bare name
// are searched: the system folder only where Windows can (Windows 8 and
// later, Windows 7 with update KB2533623), else at least not the current
// folder. Call first thing at start-up.
void RestrictLibrarySearch();

// Loads a system library (and what it depends on) from the system folder;
// null when it cannot be loaded. It stays loaded for the process's life.
HMODULE LoadSystemLibrary(const char* fileName);

// A function of a system library loaded as above; null when either is
// missing.
template <class Function>
Function SystemLibraryFunction(const char* library, const char* name)
{
    HMODULE module = LoadSystemLibrary(library);
    // Through a generic function pointer: FARPROC stands for any signature.
    return module != nullptr
        ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)))
        : nullptr;
}

// Registers the common controls' window classes named by `classes` (ICC_
// flags) from the system's comctl32, which is loaded, never imported; false
// when they cannot be had.
bool InitCommonControlClasses(DWORD classes);

// The rich-edit control's library: its window class RichEdit20W exists once
// it is loaded. Loading it again costs nothing.
void LoadRichEditLibrary();

// Entry point of tavrel.exe.

#include <windows.h>

#include <cstdio>

#include "app/TavrelApp.h"
#include "framework/SystemLibrary.h"

// The one application object.
CTavrelApp theApp;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    // Before anything can load a library by its bare name: a file named
    // like a system library beside the program must not be taken for it.
    RestrictLibrarySearch();
    // Diagnostic lines must reach a pipe as they are written, and survive
    // the process being killed.
    setvbuf(stdout, nullptr, _IONBF, 0);
    return AfxWinMain(instance, commandLine);
}

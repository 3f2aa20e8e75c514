// Entry point of tavrel.exe.

#include <windows.h>

#include <cstdio>

#include "app/TavrelApp.h"

// The one application object.
CTavrelApp theApp;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    // Diagnostic lines must reach a pipe as they are written, and survive
    // the process being killed.
    setvbuf(stdout, nullptr, _IONBF, 0);
    return AfxWinMain(instance, commandLine);
}

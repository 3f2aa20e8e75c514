#pragma once
// Finds the programs that tests start: every test program is built into
// the same folder, so they sit beside the running test executable.

#include <windows.h>

#include <string>

inline std::string TestProgramFolder()
{
    char path[MAX_PATH * 2];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

// The test child (tests/support/TestChild.cpp), quoted for a command line.
inline std::string QuotedTestChild() { return "\"" + TestProgramFolder() + "tavrel_testchild.exe\""; }

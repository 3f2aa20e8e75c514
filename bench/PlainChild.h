#pragma once
// The baseline of the run benchmarks: a child started the plain way, hidden,
// its standard output and error on one new pipe whose read end we keep.

#include <windows.h>

#include <string>
#include <vector>

struct PlainChild {
    HANDLE output = nullptr;
    PROCESS_INFORMATION info = {};
};

inline bool StartPlainChild(const std::string& commandLine, PlainChild& child)
{
    SECURITY_ATTRIBUTES inherit = { sizeof(inherit), nullptr, TRUE };
    HANDLE writeEnd = nullptr;
    if (!::CreatePipe(&child.output, &writeEnd, &inherit, 0))
        return false;
    ::SetHandleInformation(child.output, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    std::vector<char> writable(commandLine.begin(), commandLine.end());
    writable.push_back('\0');
    const BOOL started = ::CreateProcessA(nullptr, writable.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                          nullptr, nullptr, &startup, &child.info);
    ::CloseHandle(writeEnd);
    if (!started) {
        ::CloseHandle(child.output);
        child.output = nullptr;
    }
    return started != FALSE;
}

// Waits a while for the child's end, then lets go of it.
inline void EndPlainChild(PlainChild& child)
{
    ::WaitForSingleObject(child.info.hProcess, 5000);
    ::CloseHandle(child.info.hProcess);
    ::CloseHandle(child.info.hThread);
    ::CloseHandle(child.output);
}

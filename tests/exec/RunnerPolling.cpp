#include "RunnerPolling.h"

#include <cstdlib>

DrainedOutput DrainOutput(ProcessRunner& runner, DWORD timeoutMs)
{
    DrainedOutput result;
    DWORD start = GetTickCount();
    std::string chunk;
    while (GetTickCount() - start < timeoutMs) {
        if (!runner.ReadOutput(chunk)) {
            result.ended = true;
            break;
        }
        if (chunk.empty()) {
            Sleep(5);
            continue;
        }
        result.text += chunk;
        result.chunks.push_back(chunk);
    }
    return result;
}

std::string ReadUntil(ProcessRunner& runner, const std::string& needle, DWORD timeoutMs)
{
    std::string collected;
    DWORD start = GetTickCount();
    std::string chunk;
    while (collected.find(needle) == std::string::npos && GetTickCount() - start < timeoutMs) {
        if (!runner.ReadOutput(chunk))
            break;
        if (chunk.empty())
            Sleep(5);
        collected += chunk;
    }
    return collected;
}

bool WaitUntilEnded(ProcessRunner& runner, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (runner.IsRunning()) {
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(5);
    }
    return true;
}

DWORD NumberAfter(const std::string& output, const std::string& key)
{
    size_t at = output.find(key + "=");
    if (at == std::string::npos)
        return 0;
    return static_cast<DWORD>(strtoul(output.c_str() + at + key.size() + 1, nullptr, 10));
}

bool ProcessAlive(DWORD pid)
{
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!process)
        return false;
    bool alive = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return alive;
}

bool WaitProcessGone(DWORD pid, DWORD timeoutMs)
{
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!process)
        return true;
    bool gone = WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0;
    CloseHandle(process);
    return gone;
}

void KillProcess(DWORD pid)
{
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
    if (!process)
        return;
    TerminateProcess(process, 9);
    WaitForSingleObject(process, 2000);
    CloseHandle(process);
}

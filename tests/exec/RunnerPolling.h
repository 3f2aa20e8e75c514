#pragma once
// Bounded polling helpers for tests that drive a ProcessRunner the way the
// console window does (read, then ask whether the child still runs).

#include "exec/ProcessRunner.h"

#include <string>
#include <vector>

struct DrainedOutput {
    std::string text;
    std::vector<std::string> chunks;  // every non-empty ReadOutput result
    bool ended = false;               // ReadOutput reported the end in time
};

// Reads until ReadOutput returns false or the time is up.
DrainedOutput DrainOutput(ProcessRunner& runner, DWORD timeoutMs = 5000);

// Reads until the collected output contains `needle` (or the time is up).
std::string ReadUntil(ProcessRunner& runner, const std::string& needle, DWORD timeoutMs = 5000);

// Polls IsRunning until it returns false; false if the child outlived the wait.
bool WaitUntilEnded(ProcessRunner& runner, DWORD timeoutMs = 5000);

// The number after "key=" in the output, 0 when absent.
DWORD NumberAfter(const std::string& output, const std::string& key);

bool ProcessAlive(DWORD pid);
bool WaitProcessGone(DWORD pid, DWORD timeoutMs = 3000);
void KillProcess(DWORD pid);

#pragma once
// The usual names of the exit codes a crashed program ends with (the
// system's exception codes), as plain data.

#include <cstdint>
#include <string>

// "0xC0000005: access violation" for a code that reports a crash or an
// abnormal end; empty for an ordinary exit code (a small number a program
// chose itself, or a negative one that is no crash code).
std::string DescribeCrashExitCode(uint32_t code);

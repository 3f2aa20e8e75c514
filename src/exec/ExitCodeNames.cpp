#include "exec/ExitCodeNames.h"

#include <cstdio>

namespace {

struct NamedCode {
    uint32_t code;
    const char* name;
};

const NamedCode kNames[] = {
    { 0x80000003, "breakpoint" },
    { 0xC0000005, "access violation" },
    { 0xC0000006, "in-page error" },
    { 0xC0000017, "not enough memory" },
    { 0xC000001D, "illegal instruction" },
    { 0xC0000025, "noncontinuable exception" },
    { 0xC000008C, "array bounds exceeded" },
    { 0xC000008E, "floating-point division by zero" },
    { 0xC0000090, "floating-point invalid operation" },
    { 0xC0000094, "integer division by zero" },
    { 0xC0000095, "integer overflow" },
    { 0xC0000096, "privileged instruction" },
    { 0xC00000FD, "stack overflow" },
    { 0xC000007B, "bad image format" },
    { 0xC0000135, "a DLL was not found" },
    { 0xC0000139, "entry point not found" },
    { 0xC0000142, "DLL initialization failed" },
    { 0xC000013A, "ended by Ctrl+C" },
    { 0xC0000374, "heap corruption" },
    { 0xC0000409, "stack buffer overrun" },
    { 0xC0000602, "fail fast exception" },
    { 0xE06D7363, "unhandled C++ exception" },
};

// System error codes (severity "error", the system's own facility): no
// program chooses such numbers, while -1 (0xFFFFFFFF) and the like are
// ordinary exit codes.
constexpr uint32_t kSystemErrorMask = 0xFFFF0000;
constexpr uint32_t kSystemError = 0xC0000000;

}  // namespace

std::string DescribeCrashExitCode(uint32_t code)
{
    const char* name = nullptr;
    for (const NamedCode& named : kNames) {
        if (named.code == code)
            name = named.name;
    }
    if (name == nullptr && (code & kSystemErrorMask) != kSystemError)
        return std::string();
    char text[96];
    std::snprintf(text, sizeof text, "0x%08X: %s", static_cast<unsigned>(code), name ? name : "unknown exception");
    return text;
}

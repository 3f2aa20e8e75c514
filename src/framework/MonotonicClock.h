#pragma once
// Seconds on the system's high-resolution clock, for measuring how long a
// piece of work took (never the time of day).

#include <windows.h>

inline double MonotonicSeconds()
{
    static const double frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / frequency;
}

#pragma once
// printf-style formatting into a std::string (message-box texts, diagnostic
// lines). On Windows the system C runtime formats, as it always has for the
// program's lines (a pointer is eight upper-case hex digits there).

#include <cstdarg>
#include <string>

std::string FormatText(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

std::string FormatTextV(const char* format, va_list args);

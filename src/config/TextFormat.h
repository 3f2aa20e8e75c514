#pragma once
// printf-style formatting into a std::string, for message-box texts.

#include <string>

std::string FormatText(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

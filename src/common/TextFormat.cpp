#include "common/TextFormat.h"

#include <cstdio>
#include <vector>

std::string FormatTextV(const char* format, va_list args)
{
    va_list copy;
    va_copy(copy, args);
#if defined(_WIN32)
    int length = _vscprintf(format, copy);
#else
    int length = vsnprintf(nullptr, 0, format, copy);
#endif
    va_end(copy);
    if (length <= 0)
        return std::string();
    std::vector<char> buffer(static_cast<size_t>(length) + 1);
#if defined(_WIN32)
    _vsnprintf(buffer.data(), buffer.size(), format, args);
#else
    vsnprintf(buffer.data(), buffer.size(), format, args);
#endif
    return std::string(buffer.data(), static_cast<size_t>(length));
}

std::string FormatText(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = FormatTextV(format, args);
    va_end(args);
    return text;
}

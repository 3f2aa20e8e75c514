#include "common/Diag.h"

#include <cstdarg>
#include <cstdio>
#include <exception>
#include <vector>

namespace {
DiagSink& Sink()
{
    static DiagSink sink;
    return sink;
}
}  // namespace

namespace {

// Lines keep the system C runtime's formatting on Windows (a pointer is
// eight upper-case hex digits there), not the toolchain's own printf.
std::string Format(const char* format, va_list args)
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

}  // namespace

void Diag(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = Format(format, args);
    va_end(args);
    DiagSink& sink = Sink();
    if (sink)
        sink(text);
    else
        fwrite(text.data(), 1, text.size(), stdout);  // one write per line
}

void DiagCaughtException(const char* activity)
{
    try {
        throw;
    } catch (const std::exception& caught) {
        Diag("ERROR: %s: %s\n", activity, caught.what());
    } catch (...) {
        Diag("ERROR: %s: an exception of unknown type\n", activity);
    }
}

void SetDiagSink(DiagSink sink) { Sink() = std::move(sink); }

DiagCapture::DiagCapture()
{
    SetDiagSink([this](const std::string& text) { m_text += text; });
}

DiagCapture::~DiagCapture() { SetDiagSink(nullptr); }

#include "common/Diag.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace {
DiagSink& Sink()
{
    static DiagSink sink;
    return sink;
}
}  // namespace

void Diag(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    DiagSink& sink = Sink();
    if (!sink) {
        vprintf(format, args);
        va_end(args);
        return;
    }
    va_list copy;
    va_copy(copy, args);
    int length = vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length > 0) {
        std::vector<char> buffer(static_cast<size_t>(length) + 1);
        vsnprintf(buffer.data(), buffer.size(), format, args);
        sink(std::string(buffer.data(), static_cast<size_t>(length)));
    }
    va_end(args);
}

void SetDiagSink(DiagSink sink) { Sink() = std::move(sink); }

DiagCapture::DiagCapture()
{
    SetDiagSink([this](const std::string& text) { m_text += text; });
}

DiagCapture::~DiagCapture() { SetDiagSink(nullptr); }

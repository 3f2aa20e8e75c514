#include "common/Diag.h"

#include <cstdarg>
#include <cstdio>
#include <exception>

#include "common/TextFormat.h"

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
    std::string text = FormatTextV(format, args);
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

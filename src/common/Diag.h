#pragma once
// Diagnostic lines: the program traces every step as plain printf lines on
// standard output. Everything goes through Diag so that tests can capture
// the lines and benchmarks can silence them.

#include <functional>
#include <string>

// printf-style: writes to standard output (or to the installed sink).
void Diag(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// Called inside a catch (...) block: writes "ERROR: <what was being done>:"
// and the exception's message, so that no caught failure goes unsaid.
void DiagCaughtException(const char* activity);

// Replaces where diagnostic text goes; an empty function restores stdout.
using DiagSink = std::function<void(const std::string& text)>;
void SetDiagSink(DiagSink sink);

// Captures every diagnostic line written during its lifetime (tests).
class DiagCapture {
public:
    DiagCapture();
    ~DiagCapture();
    DiagCapture(const DiagCapture&) = delete;
    DiagCapture& operator=(const DiagCapture&) = delete;
    const std::string& Text() const { return m_text; }
    void Reset() { m_text.clear(); }

private:
    std::string m_text;
};

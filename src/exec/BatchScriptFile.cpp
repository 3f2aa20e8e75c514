#include "exec/BatchScriptFile.h"

#include <windows.h>

#include <cstdio>

// Silent, and not echoed even by a script that leaves echo on.
const char kUtf8CodePageLine[] = "@chcp 65001 >nul\r\n";

bool WriteBatchScriptFile(const std::string& path, const std::string& script)
{
    // On a system that keeps the ANSI code page (before Windows 10 version
    // 1903) the script is written as it always was: switching would only
    // misread the text, and cmd before Windows 8 stops reading a script
    // after such a switch.
    const std::string text = ::GetACP() == CP_UTF8 ? kUtf8CodePageLine + script : script;
    FILE* file = fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    bool written = fwrite(text.data(), 1, text.size(), file) == text.size();
    if (fclose(file) != 0)
        written = false;
    return written;
}

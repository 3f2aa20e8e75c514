#pragma once
// A batch script written to the temporary folder for one test and deleted
// afterwards.

#include <windows.h>

#include <cstdio>
#include <string>

class TempBatchFile {
public:
    explicit TempBatchFile(const std::string& lines)
    {
        char folder[MAX_PATH];
        GetTempPathA(sizeof(folder), folder);
        char name[64];
        snprintf(name, sizeof(name), "tavrel-test-%lu-%lu.bat", GetCurrentProcessId(), ++Counter());
        m_path = std::string(folder) + name;
        if (FILE* file = fopen(m_path.c_str(), "wb")) {
            fwrite(lines.data(), 1, lines.size(), file);
            fclose(file);
        }
    }
    ~TempBatchFile() { DeleteFileA(m_path.c_str()); }
    TempBatchFile(const TempBatchFile&) = delete;
    TempBatchFile& operator=(const TempBatchFile&) = delete;

    // "cmd /c" with the quoted script path.
    std::string Command() const { return "cmd /c \"" + m_path + "\""; }

private:
    static unsigned long& Counter()
    {
        static unsigned long counter = 0;
        return counter;
    }
    std::string m_path;
};

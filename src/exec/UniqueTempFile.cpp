#include "exec/UniqueTempFile.h"

#include "common/TextFormat.h"
#include "framework/Handles.h"

namespace {
// Names taken in a row before giving up: far more than instances of the
// program could start in one millisecond.
constexpr DWORD kMaxAttempts = 1000;
}

bool CreateUniqueTempFile(const char* nameFormat, std::string& path, DWORD firstNumber)
{
    char folder[MAX_PATH] = {};
    DWORD length = GetTempPathA(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH)
        folder[0] = '\0';

    for (DWORD attempt = 0; attempt < kMaxAttempts; ++attempt) {
        path = std::string(folder) + "\\" + FormatText(nameFormat, static_cast<unsigned>(firstNumber + attempt));
        UniqueKernelHandle file(
            CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.Valid())
            return true;
        DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            return false;  // not a clash: another name would fail alike
    }
    return false;
}

bool CreateUniqueTempFile(const char* nameFormat, std::string& path)
{
    return CreateUniqueTempFile(nameFormat, path, GetTickCount());
}

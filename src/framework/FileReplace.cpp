#include "framework/FileReplace.h"

#include <algorithm>

#include "framework/Handles.h"
#include "framework/WideText.h"

namespace {

// Names tried for the temporary file before giving up.
constexpr DWORD kTemporaryNameAttempts = 100;

// The long-path form of a path in the program's 8-bit code page:
// "\\?\C:\..." or "\\?\UNC\server\share\...". Empty when the system
// cannot make it absolute.
std::wstring LongPathOf(const std::string& path)
{
    const std::wstring wide = ToWide(path);
    if (wide.compare(0, 4, L"\\\\?\\") == 0)
        return wide;
    const DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return std::wstring();
    std::wstring full(needed, L'\0');
    const DWORD length = GetFullPathNameW(wide.c_str(), needed, &full[0], nullptr);
    if (length == 0 || length >= needed)
        return std::wstring();
    full.resize(length);
    if (full.compare(0, 2, L"\\\\") == 0)
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

// Creates a new, empty file of our own beside `target` (same folder, so
// that the rename stays on one volume).
UniqueKernelHandle CreateTemporaryBeside(const std::wstring& target, std::wstring& temporary, DWORD& error)
{
    const std::wstring folder = target.substr(0, target.find_last_of(L'\\') + 1);
    const DWORD seed = GetTickCount() ^ (GetCurrentProcessId() << 16);
    for (DWORD attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        wchar_t name[32];
        wsprintfW(name, L"~tvr%08x.tmp", static_cast<unsigned>(seed + attempt));
        temporary = folder + name;
        UniqueKernelHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.Valid())
            return file;
        error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            break;
    }
    temporary.clear();
    return UniqueKernelHandle();
}

bool WriteAll(HANDLE file, const char* data, size_t size)
{
    size_t done = 0;
    while (done < size) {
        DWORD written = 0;
        DWORD piece = static_cast<DWORD>(std::min<size_t>(size - done, 1u << 20));
        if (!WriteFile(file, data + done, piece, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}
// Another writer or a reader may hold the target for a moment: a file that
// is open cannot be replaced on every Windows version, even when it was
// opened for shared deleting (the system then answers "access denied").
// Ten tries 20 ms apart: long enough for a reader to close the file, short
// enough that the user does not notice the wait.
constexpr int kMoveAttempts = 10;
constexpr DWORD kMoveRetryPauseMs = 20;

bool MoveIntoPlace(const std::wstring& from, const std::wstring& to, DWORD& error)
{
    for (int attempt = 0; attempt < kMoveAttempts; ++attempt) {
        if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        error = GetLastError();
        if (error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION && error != ERROR_ACCESS_DENIED)
            return false;
        Sleep(kMoveRetryPauseMs);
    }
    return false;
}

}  // namespace

bool ReplaceFileContents(const std::string& path, const std::string& bytes, DWORD& error)
{
    return ReplaceFileContents(
        path, [&](const std::function<bool(const char*, size_t)>& write) { return write(bytes.data(), bytes.size()); },
        error);
}

bool ReplaceFileContents(const std::string& path, const FileContentsWriter& contents, DWORD& error)
{
    error = ERROR_SUCCESS;
    const std::wstring target = LongPathOf(path);
    if (target.empty()) {
        error = GetLastError() != ERROR_SUCCESS ? GetLastError() : ERROR_INVALID_NAME;
        return false;
    }
    // A read-only target would be replaced by the rename: refuse it as the
    // system refuses to write it.
    DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
        error = ERROR_ACCESS_DENIED;
        return false;
    }
    std::wstring temporary;
    UniqueKernelHandle file = CreateTemporaryBeside(target, temporary, error);
    if (!file.Valid())
        return false;
    bool written = contents([&](const char* data, size_t size) { return WriteAll(file.Get(), data, size); }) &&
                   FlushFileBuffers(file.Get()) != FALSE;
    if (!written)
        error = GetLastError();
    file.Reset();  // closed before the rename
    if (written && !MoveIntoPlace(temporary, target, error))
        written = false;
    if (!written)
        DeleteFileW(temporary.c_str());
    if (!written && error == ERROR_SUCCESS)
        error = ERROR_WRITE_FAULT;
    return written;
}

#include "framework/FileReplace.h"

#include <algorithm>

#include "common/PathParts.h"
#include "framework/Handles.h"

namespace {

// The folder the temporary file goes to: the target's own, so that the
// rename stays on one volume.
std::string TemporaryFolderFor(const std::string& path)
{
    std::string folder = FolderOf(path);
    return folder.empty() ? std::string(".") : folder;
}

bool WriteAll(HANDLE file, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        DWORD piece = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
        if (!WriteFile(file, bytes.data() + done, piece, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return FlushFileBuffers(file) != FALSE;
}

// Another writer or a reader may hold the target for a moment: a file that
// is open cannot be replaced on every Windows version, even when it was
// opened for shared deleting (the system then answers "access denied").
// Ten tries 20 ms apart: long enough for a reader to close the file, short
// enough that the user does not notice the wait.
constexpr int kMoveAttempts = 10;
constexpr DWORD kMoveRetryPauseMs = 20;

bool MoveIntoPlace(const std::string& from, const std::string& to, DWORD& error)
{
    for (int attempt = 0; attempt < kMoveAttempts; ++attempt) {
        if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
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
    error = ERROR_SUCCESS;
    // A read-only target would be replaced by the rename: refuse it as the
    // system refuses to write it.
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
        error = ERROR_ACCESS_DENIED;
        return false;
    }
    char temporary[MAX_PATH] = {};
    if (GetTempFileNameA(TemporaryFolderFor(path).c_str(), "tvr", 0, temporary) == 0) {
        error = GetLastError();
        return false;
    }
    UniqueKernelHandle file(
        CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    bool written = file.Valid() && WriteAll(file.Get(), bytes);
    if (!written)
        error = GetLastError();
    file.Reset();  // closed before the rename
    if (written && !MoveIntoPlace(temporary, path, error))
        written = false;
    if (!written)
        DeleteFileA(temporary);
    if (!written && error == ERROR_SUCCESS)
        error = ERROR_WRITE_FAULT;
    return written;
}

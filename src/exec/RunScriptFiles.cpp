#include "exec/RunScriptFiles.h"

#include <cctype>
#include <utility>

#include "common/Diag.h"
#include "exec/ProcessRunner.h"

namespace {

UniqueKernelHandle Duplicate(HANDLE handle)
{
    UniqueKernelHandle copy;
    if (handle != nullptr)
        DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), copy.Receive(), 0, FALSE,
                        DUPLICATE_SAME_ACCESS);
    return copy;
}

ULONGLONG AsNumber(const FILETIME& time)
{
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

}  // namespace

RunScriptFiles::~RunScriptFiles() { DeleteFinished(); }

void RunScriptFiles::Add(const std::string& path, const ProcessRunner& runner)
{
    File file;
    file.path = path;
    file.process = Duplicate(runner.ProcessHandle());
    file.job = Duplicate(runner.JobHandle());
    m_files.push_back(std::move(file));
}

bool RunScriptFiles::RunHasEnded(const File& file)
{
    if (file.job.Valid()) {
        JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting = {};
        if (QueryInformationJobObject(file.job.Get(), JobObjectBasicAccountingInformation, &accounting,
                                      sizeof accounting, nullptr))
            return accounting.ActiveProcesses == 0;
    }
    // Without a job only the interpreter itself can be watched; it is the
    // one that reads the file.
    return !file.process.Valid() || WaitForSingleObject(file.process.Get(), 0) == WAIT_OBJECT_0;
}

void RunScriptFiles::DeleteFinished()
{
    for (size_t i = 0; i < m_files.size();) {
        const File& file = m_files[i];
        if (!RunHasEnded(file)) {
            ++i;
            continue;
        }
        if (DeleteFileA(file.path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND)
            Diag("Temp execution batch file deleted: %s\n", file.path.c_str());
        else
            Diag("WARNING: Cannot delete temp execution batch file %s (error %d)\n", file.path.c_str(),
                 static_cast<int>(GetLastError()));
        m_files.erase(m_files.begin() + static_cast<long>(i));
    }
}

bool IsRunScriptName(const std::string& name)
{
    static const std::string prefix = "tavrel-exec-";
    static const std::string suffix = ".bat";
    if (name.size() != prefix.size() + 8 + suffix.size())
        return false;
    auto equalFolded = [](const std::string& text, size_t at, const std::string& part) {
        for (size_t i = 0; i < part.size(); ++i)
            if (std::tolower(static_cast<unsigned char>(text[at + i])) != part[i])
                return false;
        return true;
    };
    for (size_t i = prefix.size(); i < prefix.size() + 8; ++i)
        if (!std::isxdigit(static_cast<unsigned char>(name[i])))
            return false;
    return equalFolded(name, 0, prefix) && equalFolded(name, prefix.size() + 8, suffix);
}

int DeleteStaleRunScripts(ULONGLONG maxAgeMs)
{
    char folder[MAX_PATH] = {};
    DWORD length = GetTempPathA(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH)
        return 0;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const ULONGLONG maxAge = maxAgeMs * 10000;  // in the file time's 100 ns
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((std::string(folder) + "tavrel-exec-*.bat").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    int deleted = 0;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !IsRunScriptName(found.cFileName))
            continue;
        const ULONGLONG written = AsNumber(found.ftLastWriteTime);
        if (AsNumber(now) < written || AsNumber(now) - written <= maxAge)
            continue;
        const std::string path = std::string(folder) + found.cFileName;
        if (DeleteFileA(path.c_str())) {
            Diag("Deleted stale temp execution batch file: %s\n", path.c_str());
            ++deleted;
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return deleted;
}

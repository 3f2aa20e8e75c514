#include "formui/ValueStore.h"

#include <windows.h>
#include <shlobj.h>

#include "common/Diag.h"
#include "common/PathParts.h"
#include "framework/FileReplace.h"
#include "framework/Handles.h"
#include "framework/WideText.h"

namespace {

// Far above any form's store (its values, presets and 50 runs of history
// of a form of a few dozen fields stay well under a megabyte); a larger
// file is not ours, and reading it would hold up the form for seconds.
constexpr DWORD kMaxStoreFileSize = 4u << 20;

bool ReadSmallFile(const std::string& path, std::string& bytes)
{
    // Shared for deleting too, so that another window may replace the file
    // while it is read here.
    UniqueKernelHandle file(CreateFileA(path.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        return false;
    DWORD size = GetFileSize(file.Get(), nullptr);
    if (size != INVALID_FILE_SIZE && size > kMaxStoreFileSize)
        Diag("WARNING: Remembered values file of %lu bytes is far too large to be ours, ignored: %s\n",
             static_cast<unsigned long>(size), path.c_str());
    bool read = size != INVALID_FILE_SIZE && size <= kMaxStoreFileSize;
    if (read) {
        bytes.assign(size, '\0');
        DWORD got = 0;
        read = size == 0 || (ReadFile(file.Get(), &bytes[0], size, &got, nullptr) && got == size);
    }
    return read;
}

}  // namespace

std::string RememberedValuesFolder()
{
    char folder[MAX_PATH] = {};
    DWORD length = GetEnvironmentVariableA("APPDATA", folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        folder[0] = '\0';
        if (FAILED(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder)))
            return std::string();
    }
    std::string path = folder;
    if (path.empty())
        return path;
    if (path.back() != '\\')
        path += '\\';
    return path + "Tavrel";
}

std::string RememberedValuesFile(const std::string& formPath)
{
    std::string folder = RememberedValuesFolder();
    if (folder.empty())
        return std::string();
    return folder + "\\" + RememberedValuesFileName(FormStoreKey(formPath));
}

std::string FormStoreKey(const std::string& formPath)
{
    // One form, however its path is spelled: without the long-path prefix,
    // made full, with short (8.3) names made long, and case-folded.
    std::wstring path = ToWide(WithoutLongPathPrefix(formPath));
    if (path.empty())
        return formPath;
    if (DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr)) {
        std::wstring full(needed, L'\0');
        DWORD length = GetFullPathNameW(path.c_str(), needed, &full[0], nullptr);
        if (length != 0 && length < needed)
            path.assign(full, 0, length);
    }
    // Only an existing file has a long name to find; otherwise the path
    // stays as it is.
    if (DWORD needed = GetLongPathNameW(path.c_str(), nullptr, 0)) {
        std::wstring longer(needed, L'\0');
        DWORD length = GetLongPathNameW(path.c_str(), &longer[0], needed);
        if (length != 0 && length < needed)
            path.assign(longer, 0, length);
    }
    // Folded in UTF-16, where the system's own case rules apply to every
    // letter, and kept as UTF-8 so that the key does not depend on the code
    // page of the moment.
    CharLowerBuffW(&path[0], static_cast<DWORD>(path.size()));
    return FromWide(path, CP_UTF8);
}

bool LoadFormStore(const std::string& formPath, FormStore& store)
{
    store = FormStore();
    std::string path = RememberedValuesFile(formPath);
    std::string bytes;
    if (path.empty() || !ReadSmallFile(path, bytes))
        return false;
    if (!ParseFormStore(bytes, FormStoreKey(formPath), store)) {
        Diag("WARNING: Remembered values unusable, starting empty: %s\n", path.c_str());
        return false;
    }
    return true;
}

bool SaveFormStore(const std::string& formPath, const FormStore& store)
{
    std::string folder = RememberedValuesFolder();
    if (folder.empty() || (!CreateDirectoryA(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)) {
        Diag("WARNING: Cannot create the folder for remembered values: %s\n", folder.c_str());
        return false;
    }
    std::string path = RememberedValuesFile(formPath);
    DWORD error = 0;
    if (!ReplaceFileContents(path, SerializeFormStore(FormStoreKey(formPath), store), error)) {
        Diag("WARNING: Cannot store remembered values in %s (error %d)\n", path.c_str(), static_cast<int>(error));
        return false;
    }
    return true;
}

bool LoadRememberedValues(const std::string& formPath, std::vector<RememberedValue>& values)
{
    FormStore store;
    const bool loaded = LoadFormStore(formPath, store);
    values = std::move(store.values);
    return loaded;
}

bool StoreRememberedValues(const std::string& formPath, const std::vector<RememberedValue>& values)
{
    FormStore store;
    LoadFormStore(formPath, store);
    store.values = values;
    return SaveFormStore(formPath, store);
}

bool ForgetRememberedValues(const std::string& formPath)
{
    FormStore store;
    if (LoadFormStore(formPath, store) && !store.presets.empty()) {
        store.values.clear();
        store.history.clear();
        return SaveFormStore(formPath, store);
    }
    std::string path = RememberedValuesFile(formPath);
    if (path.empty())
        return true;
    return DeleteFileA(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND || GetLastError() == ERROR_PATH_NOT_FOUND;
}

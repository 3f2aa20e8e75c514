#include "common/PathParts.h"

namespace {
const char kSeparators[] = "\\/";
}  // namespace

std::string FolderOf(const std::string& path)
{
    size_t separator = path.find_last_of(kSeparators);
    return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

std::string FileNameOf(const std::string& path)
{
    size_t separator = path.find_last_of(kSeparators);
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string BaseNameOf(const std::string& path)
{
    std::string name = FileNameOf(path);
    size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    return name;
}

std::string WithoutLongPathPrefix(const std::string& path)
{
    const std::string prefix = "\\\\?\\";
    if (path.compare(0, prefix.size(), prefix) != 0)
        return path;
    const std::string rest = path.substr(prefix.size());
    const bool unc = rest.size() >= 4 && (rest[0] == 'U' || rest[0] == 'u') && (rest[1] == 'N' || rest[1] == 'n') &&
                     (rest[2] == 'C' || rest[2] == 'c') && rest[3] == '\\';
    return unc ? "\\\\" + rest.substr(4) : rest;
}

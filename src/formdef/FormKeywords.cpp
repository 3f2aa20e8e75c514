#include "formdef/FormKeywords.h"

namespace {
bool IsOneOf(const std::string& word, const char* const* words)
{
    for (; *words; ++words) {
        if (word == *words) return true;
    }
    return false;
}

const PathType kPathTypes[] = {
    { "file", true, false, true },
    { "newfile", false, false, true },
    { "dir", true, true, false },
    { "newdir", false, true, false },
    { "filedir", true, true, true },
    { "newfiledir", false, true, true },
};
const char* const kOtherTypes[] = {"text", "number", "drive", nullptr};
const char* const kStructureWords[] = {"required", "radiostart", "radioend", "button", nullptr};
}  // namespace

const PathType* FindPathType(const std::string& word)
{
    for (const PathType& type : kPathTypes) {
        if (word == type.keyword)
            return &type;
    }
    return nullptr;
}

bool IsPathTypeKeyword(const std::string& word) { return FindPathType(word) != nullptr; }

bool IsTypeKeyword(const std::string& word)
{
    return IsOneOf(word, kOtherTypes) || IsPathTypeKeyword(word);
}

bool IsTagKeyword(const std::string& word)
{
    return IsOneOf(word, kStructureWords) || IsTypeKeyword(word);
}

#include "formdef/FormKeywords.h"

namespace {
bool IsOneOf(const std::string& word, const char* const* words)
{
    for (; *words; ++words) {
        if (word == *words) return true;
    }
    return false;
}

const char* const kPathTypes[] = {"file", "newfile", "dir", "newdir", "filedir", "newfiledir", nullptr};
const char* const kOtherTypes[] = {"text", "number", "drive", nullptr};
const char* const kStructureWords[] = {"required", "radiostart", "radioend", "button", nullptr};
}  // namespace

bool IsPathTypeKeyword(const std::string& word) { return IsOneOf(word, kPathTypes); }

bool IsTypeKeyword(const std::string& word)
{
    return IsOneOf(word, kOtherTypes) || IsPathTypeKeyword(word);
}

bool IsTagKeyword(const std::string& word)
{
    return IsOneOf(word, kStructureWords) || IsTypeKeyword(word);
}

#pragma once
// The words a tag may carry. All comparisons are exact and case-sensitive.

#include <string>

// "text", "number", "file", "newfile", "dir", "newdir", "filedir",
// "newfiledir", "drive".
bool IsTypeKeyword(const std::string& word);

// The type keywords that name a file or folder and get a Browse button, and
// what each asks of its value.
struct PathType {
    const char* keyword;
    bool existing;  // the path must exist; otherwise it is new (overwriting asks first)
    bool folders;   // a folder may be named; Browse opens the folder browser
    bool files;     // a file may be named
};
// The path type `word` names, or null when it names none.
const PathType* FindPathType(const std::string& word);
bool IsPathTypeKeyword(const std::string& word);

// A type keyword or one of "required", "radiostart", "radioend", "button".
bool IsTagKeyword(const std::string& word);

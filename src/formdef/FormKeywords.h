#pragma once
// The words a tag may carry. All comparisons are exact and case-sensitive.

#include <string>

// "text", "number", "file", "newfile", "dir", "newdir", "filedir",
// "newfiledir", "drive".
bool IsTypeKeyword(const std::string& word);

// The type keywords that name a file or folder and get a Browse button.
bool IsPathTypeKeyword(const std::string& word);

// A type keyword or one of "required", "radiostart", "radioend", "button".
bool IsTagKeyword(const std::string& word);

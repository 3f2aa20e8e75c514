#pragma once
// Temporary batch files named after the tick count, made unique: the file is
// created exclusively, and when the name is taken (another instance of the
// program in the same millisecond, or a file left behind) the number steps
// on until a free name is found.

#include <windows.h>

#include <string>

// `nameFormat` is a file name with one "%08x" for the number, for example
// "tavrel-batch-%08x.bat". The path is the temporary folder (as GetTempPathA
// returns it, with its trailing backslash), one more backslash, and the
// name. The first number tried is `firstNumber`.
//
// On success the file exists, empty, and `path` names it; the caller writes
// it and deletes it. On failure `path` names the last name tried.
bool CreateUniqueTempFile(const char* nameFormat, std::string& path, DWORD firstNumber);

// The same, starting at the current tick count.
bool CreateUniqueTempFile(const char* nameFormat, std::string& path);

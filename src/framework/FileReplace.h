#pragma once
// Writing a whole file so that nobody ever finds it half-written: the bytes
// go to a temporary file in the target's folder, which then takes the
// target's place in one step. A crash, a full disk or a second writer at the
// same moment leaves either the old file or a complete new one.
//
// Any path the system accepts will do: the files are named through the
// system's long-path form, so a target near the 260-character limit (whose
// temporary name beside it would pass that limit) is written as well.

#include <windows.h>

#include <functional>
#include <string>

// Hands the contents over in pieces to `write`, which is false when a piece
// could not be written; false stops the writing.
using FileContentsWriter = std::function<bool(const std::function<bool(const char*, size_t)>& write)>;

// False when the file could not be written or put in place; `error` then
// holds the system error code. No temporary file is left behind.
bool ReplaceFileContents(const std::string& path, const std::string& bytes, DWORD& error);
bool ReplaceFileContents(const std::string& path, const FileContentsWriter& contents, DWORD& error);

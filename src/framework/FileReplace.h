#pragma once
// Writing a whole file so that nobody ever finds it half-written: the bytes
// go to a temporary file in the target's folder, which then takes the
// target's place in one step. A crash, a full disk or a second writer at the
// same moment leaves either the old file or a complete new one.

#include <windows.h>

#include <string>

// False when the file could not be written or put in place; `error` then
// holds the system error code. No temporary file is left behind.
bool ReplaceFileContents(const std::string& path, const std::string& bytes, DWORD& error);


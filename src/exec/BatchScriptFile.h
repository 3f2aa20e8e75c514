#pragma once
// Writes a batch script for the command interpreter. cmd reads a script in
// the console's code page, while the program's text is UTF-8 wherever the
// system honours the program's manifest: such a script first switches its
// console (created for this run alone, and gone with it) to UTF-8, so that
// non-ASCII text in it reaches the commands intact and what it prints comes
// back as UTF-8.

#include <string>

// The line put before the script when the program's text is UTF-8.
extern const char kUtf8CodePageLine[];

// The whole file, binary (every script line already ends with CR LF); false
// on any failure, so that a full disk never runs half a script.
bool WriteBatchScriptFile(const std::string& path, const std::string& script);

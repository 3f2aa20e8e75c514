#pragma once
// The code pages a child process without a console speaks, asked of the
// system rather than of this program: a manifest that makes this program's
// own code page UTF-8 changes what GetACP and GetOEMCP return here, but not
// what other programs write.

#include <windows.h>

#include <string>

#include "exec/ConsoleOutputDecoder.h"

// The OEM code page of the system's default locale (437 when the system
// cannot say).
UINT SystemOemCodePage();

// Child output decoding with the system's OEM code page.
ConsoleOutputDecoder MakeSystemOutputDecoder();

// A typed character as the keyboard delivered it to an 8-bit window (one
// byte, or a lead and a trail byte in the high and low byte), as UTF-16.
std::wstring TypedCharacterAsWide(WPARAM character);

// UTF-8 text in the system's OEM code page; false when the code page lacks
// one of its characters.
bool Utf8ToSystemOem(const std::string& utf8, std::string& oem);

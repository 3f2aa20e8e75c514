#pragma once
// Conversions between the program's 8-bit text (the active code page: UTF-8
// wherever the system honours the manifest) and UTF-16, for the few system
// calls whose 8-bit forms measure in the wrong unit.

#include <windows.h>

#include <string>

std::wstring ToWide(const std::string& text, UINT codePage = CP_ACP);
std::string FromWide(const std::wstring& wide, UINT codePage = CP_ACP);
// As FromWide, but empty when the code page lacks a character (nothing is
// guessed or replaced).
std::string FromWideExactly(const std::wstring& wide, UINT codePage);

// A code page the system's default locale (or `locale`) names, such as
// LOCALE_IDEFAULTANSICODEPAGE; 0 when it names none. Asked through the wide
// call: the program's own code-page queries answer what its manifest chose.
UINT LocaleCodePage(LCTYPE which, LCID locale = LOCALE_SYSTEM_DEFAULT);

// Expands %NAME% references as the system does when it starts a child,
// looking each name up in UTF-16, for lines of any length. Always true
// (kept for callers that once had to handle a failed expansion).
bool ExpandEnvironmentReferences(const std::string& text, std::string& expanded);

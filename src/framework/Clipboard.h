#pragma once
// Putting text on the clipboard in both text formats, so that programs that
// paste 8-bit text and programs that paste Unicode get the same characters.

#include <windows.h>

#include <string>

// `text` is 8-bit text in the program's code page; it goes on the clipboard
// unchanged as CF_TEXT and converted as CF_UNICODETEXT. False when the
// clipboard could not be opened or filled.
bool PutTextOnClipboard(HWND owner, const std::string& text);
// The same for UTF-16 text; CF_TEXT gets its conversion to the code page.
bool PutTextOnClipboard(HWND owner, const std::wstring& text);

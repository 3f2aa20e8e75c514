#pragma once
// Streams an RTF document held in memory into a rich-edit control.

#include <windows.h>

// Sends the document with EM_STREAMIN and SF_RTF, replacing the control's
// text. Returns the stream's error field: 0 when the control took it all.
DWORD StreamRtfIntoControl(HWND richEdit, const void* data, DWORD size);

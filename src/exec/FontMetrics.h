#pragma once
// Text metrics of a font as a window's device context renders it.

#include <windows.h>

// `font` null: the device context's current font. Zeroed metrics when the
// window has no device context.
TEXTMETRICA MeasureFont(HWND window, HFONT font);

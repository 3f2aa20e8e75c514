#pragma once
// What a user sees go wrong in a window at a display scale, checked on the
// window's children with GoogleTest expectations: a text cut off (measured
// in the font the control really shows it in), controls over each other, a
// control outside its window. And the message that moves a window to a
// monitor of another DPI.

#include <windows.h>

#include <string>

// Sends WM_DPICHANGED for `dpi` with the window's rectangle scaled from
// `fromDpi` as the suggested one.
void MoveToMonitorOfDpi(HWND window, int fromDpi, int dpi);

// The size of `text` in `window`'s own font, wrapped at `width` (on one line
// when `width` is 0).
SIZE TextSizeIn(HWND window, const std::string& text, int width);

// Every visible child of `parent`: its text whole, inside `parent`'s client
// area, and not over a sibling (a group box frames others and is checked
// for its caption only).
void ExpectChildrenWholeAndApart(HWND parent, int dpi);

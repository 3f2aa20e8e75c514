#pragma once
// What the window code needs to be sharp at every display scale and on every
// monitor: the DPI a window is shown at, fonts made for that DPI, and the
// work area of the monitor a window is on. The newer system calls are looked
// up while running, so that the program still starts on Windows 7; without
// them every window has the system DPI.

#include <windows.h>

#include "common/DpiScale.h"
#include "common/ScreenArea.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

// The DPI of the screen as the system reports it to this process.
int SystemDpi();

// The DPI `window` is shown at: its own where the system keeps one per
// window (Windows 10), else its monitor's (Windows 8.1), else the system's.
int DpiOfWindow(HWND window);

// The dialog font of the system (DEFAULT_GUI_FONT) made for `dpi`: the stock
// font itself at the system DPI, else the same face at the height it has at
// that DPI. Kept for the process's life, one per DPI; never deleted.
HFONT GuiFontForDpi(int dpi);

// A point size (in tenths of a point) as a font height for `dpi`.
int FontHeightForDpi(int tenthsOfPoint, int dpi);

// Rescales one font to another DPI: the same face and style at the height it
// has at `toDpi`. The caller owns the handle.
HFONT RescaledFont(HFONT font, int fromDpi, int toDpi);

// The rectangle a WM_DPICHANGED message suggests (its lParam).
RECT SuggestedRect(LPARAM lParam);

// The work area (the screen less the taskbar) of the monitor that holds the
// larger part of `window`, or the nearest monitor when it is on none (its
// monitor is gone): never the primary monitor just because it is primary.
ScreenRect WorkAreaOf(HWND window);
// The whole area of that monitor.
ScreenRect MonitorAreaOf(HWND window);
// The work area of the monitor a rectangle is mostly on, or the nearest one.
ScreenRect WorkAreaNear(const RECT& rect);

ScreenRect ToScreenRect(const RECT& rect);

// Asks Windows 10 not to rescale a dialog made from a template by itself on
// a DPI change: the dialog lays itself out again instead. Nothing on older
// systems.
void KeepDialogScalingToUs(HWND dialog);

#pragma once
// Geometry is written in pixels at 96 dots per inch (100 % display scale)
// and scaled here, in one place, to the DPI a window is shown at. At 96 every
// value stays as written, so layouts made for 96 DPI do not move.

constexpr int kDefaultDpi = 96;

// `value96` (pixels at 96 DPI) at `dpi`, rounded half away from zero as the
// system's MulDiv does. A DPI of zero or less counts as 96.
int ScaleForDpi(int value96, int dpi);

// `value` (pixels at `fromDpi`) at `toDpi`, rounded the same way.
int RescaleDpi(int value, int fromDpi, int toDpi);

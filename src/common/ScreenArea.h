#pragma once
// Placing a window's rectangle on a monitor, as plain arithmetic: centring
// it in an area and keeping it inside the monitor's work area, so that the
// caption stays reachable. The window code only finds the areas (the
// monitor the window or its owner is on) and moves the window.

// Screen pixels; right and bottom are exclusive.
struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// `window` moved (not resized) to the centre of `area`.
ScreenRect CentreIn(const ScreenRect& window, const ScreenRect& area);

// `window` moved as little as possible to lie inside `workArea`. A window
// larger than the area keeps its top-left corner inside it, so that the
// caption and the system menu stay on the screen.
ScreenRect KeepInside(const ScreenRect& window, const ScreenRect& workArea);

// True when the two rectangles share at least one pixel.
bool Overlaps(const ScreenRect& a, const ScreenRect& b);

#pragma once
// Placing windows on the content panel in content coordinates (pixels from
// the top of the laid-out content).
//
// The system keeps window positions and sizes within 16 bits: a window
// cannot be taller than 32767 pixels and a child cannot sit lower than that.
// Content up to that height lives on one panel of the content's height whose
// top is minus the scroll position, and every window sits at its content
// position. Taller content (a form of a few thousand controls) is shown
// through a panel of kTallPanelHeight pixels that covers a band of the
// content starting at the panel's base; when scrolling leaves the band, the
// band moves and every window is placed again from the content position it
// remembers. For content that fits, the base is always 0.

#include "framework/Wnd.h"

constexpr int kMaxWindowExtent = 32767;
constexpr int kTallPanelHeight = 30000;

// The panel height for content of the given height.
int PanelHeightFor(int contentHeight);

// Moves `window` (a child of the panel) to (x, contentY) with the given size,
// relative to the panel's current base, and remembers the content position.
void PlaceOnPanel(CWnd* window, int x, int contentY, int width, int height);

// The content position shown at the panel's top.
int PanelBase(const CWnd& panel);

// The base that shows the content rows [position, position + viewHeight)
// on the panel: `currentBase` when they are already on it.
int BaseForView(int currentBase, int position, int viewHeight, int contentHeight);

// Moves the band to `base` and places every remembered window again.
void SetPanelBase(CWnd& panel, int base);

// The content position remembered for a window; false when it was never placed.
bool GetContentPosition(HWND window, int* contentY, int* height);

// Drops what the panel remembers; called when the panel is destroyed.
void ForgetPanel(HWND panel);

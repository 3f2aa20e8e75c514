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
// remembers (CContentPanel keeps those positions). For content that fits, the
// base is always 0.

constexpr int kMaxWindowExtent = 32767;
constexpr int kTallPanelHeight = 30000;

// The panel height for content of the given height.
int PanelHeightFor(int contentHeight);

// The base that shows the content rows [position, position + viewHeight)
// on the panel: `currentBase` when they are already on it.
int BaseForView(int currentBase, int position, int viewHeight, int contentHeight);

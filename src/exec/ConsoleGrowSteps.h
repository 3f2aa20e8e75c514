#pragma once
// Widening the console window step by step, as plain arithmetic: where the
// left and right edges go next, how the screen's work area limits them, and
// when the widening stops. The window itself (its scroll bar, its resizing)
// is reached through two hooks, so that all of this runs without windows.

#include <functional>

// Left and right edges in screen pixels; the right edge is exclusive.
struct HorizontalSpan {
    int left = 0;
    int right = 0;
    int Width() const { return right - left; }
};

enum class GrowStepOutcome {
    Resize,                // move to the new edges and measure again
    ResizeThenStop,        // move; both edges reached the work area
    NoRoom,                // the edges would not move, or the window lies
                           // wholly outside the work area: leave it as it is
};

struct GrowStep {
    HorizontalSpan edges;  // the proposed edges, inside the work area
    GrowStepOutcome outcome = GrowStepOutcome::Resize;
};

// One step of `step` pixels. The right edge moves unless only the left one
// may; with both, each edge takes half and the right one the odd pixel. The
// result always lies inside the work area, also for an edge that started
// outside it. A window wholly outside the work area is left alone: pulling
// both edges in would squeeze it to a sliver at the area's border.
GrowStep NextGrowStep(HorizontalSpan current, int step, bool growLeft, bool growRight, HorizontalSpan workArea);

// The horizontal scroll bar of the output control, as far as the decision
// needs it.
struct HorizontalScroll {
    int max = 0;
    int page = 0;
    // Some rich-edit implementations hide the bar once the text fits and
    // leave the last range behind, so the range alone is not enough.
    bool shown = true;
    bool NeedsScrollBar() const { return shown && max > page; }
};

struct GrowHooks {
    // The output control's horizontal scroll bar now; a zero range when
    // it cannot be read.
    std::function<HorizontalScroll()> readScroll;
    // Moves the window to the edges and lets the output control follow
    // before the next reading.
    std::function<void(HorizontalSpan)> resize;
};

constexpr int kMaxGrowSteps = 200;

// Widens from `start` until the scroll bar is gone, the work area stops the
// edges, or kMaxGrowSteps resizes were made; traces every step. Returns the
// edges reached.
HorizontalSpan RunGrowSteps(HorizontalSpan start, int step, bool growLeft, bool growRight, HorizontalSpan workArea,
                            const GrowHooks& hooks);

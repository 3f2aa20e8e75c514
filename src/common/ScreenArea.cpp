#include "common/ScreenArea.h"

namespace {

ScreenRect MovedTo(const ScreenRect& window, int left, int top)
{
    return { left, top, left + window.Width(), top + window.Height() };
}

// The start of a span of `length` moved into [low, high), the start winning
// when the span is longer than the range.
int KeepSpanInside(int start, int length, int low, int high)
{
    if (start + length > high)
        start = high - length;
    if (start < low)
        start = low;
    return start;
}

}  // namespace

ScreenRect CentreIn(const ScreenRect& window, const ScreenRect& area)
{
    return MovedTo(window, area.left + (area.Width() - window.Width()) / 2,
                   area.top + (area.Height() - window.Height()) / 2);
}

ScreenRect KeepInside(const ScreenRect& window, const ScreenRect& workArea)
{
    return MovedTo(window, KeepSpanInside(window.left, window.Width(), workArea.left, workArea.right),
                   KeepSpanInside(window.top, window.Height(), workArea.top, workArea.bottom));
}

bool Overlaps(const ScreenRect& a, const ScreenRect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

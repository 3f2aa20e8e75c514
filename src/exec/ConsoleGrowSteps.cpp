#include "exec/ConsoleGrowSteps.h"

#include "common/Diag.h"

namespace {

bool Overlaps(HorizontalSpan window, HorizontalSpan area) { return window.left < area.right && window.right > area.left; }

const char* YesNo(bool yes) { return yes ? "YES" : "NO"; }

}  // namespace

GrowStep NextGrowStep(HorizontalSpan current, int step, bool growLeft, bool growRight, HorizontalSpan workArea)
{
    GrowStep next;
    next.edges = current;
    if (!growLeft) {
        next.edges.right += step;
    } else if (growRight) {
        const int half = step / 2;
        next.edges.left -= half;
        next.edges.right += step - half;
    } else {
        next.edges.left -= step;
    }

    const bool hitLeft = next.edges.left <= workArea.left;
    const bool hitRight = next.edges.right >= workArea.right;
    if (hitLeft)
        next.edges.left = workArea.left;
    if (hitRight)
        next.edges.right = workArea.right;

    if (!Overlaps(current, workArea) ||
        (next.edges.left == current.left && next.edges.right == current.right)) {
        next.edges = current;
        next.outcome = GrowStepOutcome::NoRoom;
    } else {
        next.outcome = hitLeft && hitRight ? GrowStepOutcome::ResizeThenStop : GrowStepOutcome::Resize;
    }
    return next;
}

HorizontalSpan RunGrowSteps(HorizontalSpan start, int step, bool growLeft, bool growRight, HorizontalSpan workArea,
                            const GrowHooks& hooks)
{
    HorizontalSpan edges = start;
    for (int iteration = 0; iteration < kMaxGrowSteps; ++iteration) {
        const HorizontalScroll scroll = hooks.readScroll();
        Diag("[GROW] Iteration %d: nMax=%d, nPage=%d, scrollbar=%s\n", iteration, scroll.max, scroll.page,
             YesNo(scroll.NeedsScrollBar()));
        if (!scroll.NeedsScrollBar()) {
            Diag("[GROW] Scrollbar eliminated at iteration %d\n", iteration);
            break;
        }

        const GrowStep next = NextGrowStep(edges, step, growLeft, growRight, workArea);
        if (next.outcome == GrowStepOutcome::NoRoom) {
            Diag("[GROW] Stopped: no room to grow (hit work area limits)\n");
            break;
        }
        hooks.resize(next.edges);
        edges = next.edges;
        Diag("[GROW] New size: left=%d, right=%d, width=%d\n", edges.left, edges.right, edges.Width());
        if (next.outcome == GrowStepOutcome::ResizeThenStop) {
            Diag("[GROW] Stopped: both edges hit work area limits\n");
            break;
        }
    }
    return edges;
}

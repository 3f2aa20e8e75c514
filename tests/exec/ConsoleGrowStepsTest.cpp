// The console's widening as arithmetic: the edges of each step, the work
// area's limits, and the run of steps against a simulated output control.

#include <gtest/gtest.h>

#include "common/Diag.h"
#include "exec/ConsoleGrowSteps.h"

namespace {

const HorizontalSpan kArea = { 0, 1280 };

std::string Describe(const GrowStep& next)
{
    static const char* const outcomes[] = { "resize", "resize, stop", "no room" };
    return std::to_string(next.edges.left) + ".." + std::to_string(next.edges.right) + " " +
           outcomes[static_cast<int>(next.outcome)];
}

TEST(GrowStep, MovesTheAllowedEdgesWithinTheWorkArea)
{
    struct {
        const char* name;
        HorizontalSpan from;
        int step;
        bool growLeft, growRight;
        const char* expected;
    } const cases[] = {
        { "both: 16 left, 16 right", { 300, 900 }, 32, true, true, "284..916 resize" },
        { "right only", { 300, 900 }, 32, false, true, "300..932 resize" },
        { "left only", { 300, 900 }, 32, true, false, "268..900 resize" },
        { "odd step: the right edge takes the odd pixel", { 300, 900 }, 33, true, true, "284..917 resize" },
        { "right only at the area's right edge", { 600, 1280 }, 32, false, true, "600..1280 no room" },
        { "both edges reach the area in one step", { 10, 1270 }, 32, true, true, "0..1280 resize, stop" },
        { "partly outside: the still edge is pulled in", { -50, 600 }, 32, false, true, "0..632 resize" },
        { "wholly outside: not squeezed to a sliver", { 1290, 1990 }, 32, true, true, "1290..1990 no room" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, Describe(NextGrowStep(c.from, c.step, c.growLeft, c.growRight, kArea))) << c.name;
}

TEST(GrowRun, StopsWhenTheScrollBarIsHiddenOrAfter200Resizes)
{
    // The widest line needs `needed` pixels. Like Wine's rich-edit control,
    // the simulated one hides its bar once the text fits and keeps the range.
    HorizontalSpan window = { 300, 1000 };
    int needed = 800, resizes = 0;
    HorizontalScroll bar;
    GrowHooks hooks;
    hooks.readScroll = [&]() {
        if (needed > window.Width())
            bar = { needed, window.Width(), true };
        else
            bar.shown = false;
        return bar;
    };
    hooks.resize = [&](HorizontalSpan edges) {
        window = edges;
        ++resizes;
    };

    DiagCapture diag;
    RunGrowSteps(window, 32, true, true, kArea, hooks);
    EXPECT_EQ(4, resizes);
    EXPECT_NE(std::string::npos, diag.Text().find("[GROW] Iteration 3: nMax=800, nPage=796, scrollbar=YES\n"
                                                   "[GROW] New size: left=236, right=1064, width=828\n"
                                                   "[GROW] Iteration 4: nMax=800, nPage=796, scrollbar=NO\n"
                                                   "[GROW] Scrollbar eliminated at iteration 4\n"));

    window = { 0, 100 };
    needed = 1 << 30;
    resizes = 0;
    diag.Reset();
    RunGrowSteps(window, 4, false, true, { -100000, 100000 }, hooks);
    EXPECT_EQ(200, resizes);
    EXPECT_EQ(std::string::npos, diag.Text().find("Stopped"));
}

}  // namespace

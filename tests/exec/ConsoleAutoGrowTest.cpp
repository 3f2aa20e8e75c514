// The console window widening itself for long lines, with the real window
// and rich-edit control. The windows are created hidden and run nothing.

#include <gtest/gtest.h>

#include "common/Diag.h"
#include "exec/ConsoleTestSupport.h"
#include "exec/FakeConsoleDlg.h"

namespace {

class ConsoleAutoGrow : public ::testing::Test {
protected:
    // Text mode: nothing runs, the control holds only what the test appends.
    // Placed away from the work area's borders so that it can grow both ways.
    void Open()
    {
        LoadRichEdit();
        console.textMode = true;
        ASSERT_TRUE(console.Create());
        console.SetWindowPos(nullptr, 150, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        widthBefore = Width();
    }
    int Width()
    {
        RECT rect;
        console.GetWindowRect(&rect);
        return rect.right - rect.left;
    }

    OwnedWindow<FakeConsoleDlg> console;
    int widthBefore = 0;
    DiagCapture diag;
};

TEST_F(ConsoleAutoGrow, ALongLineWaitsFor200CharactersOfOutput)
{
    Open();
    console.AppendOutput(std::string(199, 'x'));
    EXPECT_EQ("[GROW] Too early: only 199 chars, need 200+ before checking\n", diag.Text());
    EXPECT_EQ(widthBefore, Width());
    console.AppendOutput("x");
    EXPECT_GT(Width(), widthBefore);
}

TEST_F(ConsoleAutoGrow, GrowsUntilTheHorizontalScrollBarIsGoneAndOnlyOnce)
{
    Open();
    const std::string shortLine(70, 's');
    console.AppendOutput(shortLine + "\r\n" + shortLine + "\r\n" + shortLine + "\r\n");
    ASSERT_FALSE(console.growDone) << "lines that fit need no scroll bar";

    console.AppendOutput(std::string(95, 'L') + "\r\n");
    const int widthAfter = Width();
    EXPECT_GT(widthAfter, widthBefore);
    EXPECT_EQ(0, console.outputCtrl.GetStyle() & WS_HSCROLL) << "the scroll bar is hidden";
    EXPECT_NE(std::string::npos, diag.Text().find("[GROW] Scrollbar eliminated at iteration "));
    EXPECT_NE(std::string::npos, diag.Text().find("[GROW] FINAL: Console width=" + std::to_string(widthAfter) + " px\n"));

    diag.Reset();
    console.AppendOutput(std::string(150, 'W') + "\r\n");
    EXPECT_EQ("", diag.Text()) << "the check ran once for this window";
    EXPECT_EQ(widthAfter, Width());
}

TEST_F(ConsoleAutoGrow, BothDirectionsOffNeverChangesTheWidth)
{
    console.growLeft = false;
    console.growRight = false;
    Open();
    console.AppendOutput(std::string(300, 'x'));
    console.AppendOutput(std::string(300, 'y'));
    EXPECT_EQ("[GROW] Disabled: both directions off\n[GROW] Disabled: both directions off\n", diag.Text());
    EXPECT_EQ(widthBefore, Width());
}

}  // namespace

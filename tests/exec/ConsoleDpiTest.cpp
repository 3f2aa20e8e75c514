// The console moved to a monitor of another scale: its text stays, its font
// is made for the new DPI (never the old one stretched), and the window still
// shows a console's width of columns in it. Shown here on the error window,
// the console in text mode.

#include <gtest/gtest.h>

#include <string>

#include "exec/ConsoleTestSupport.h"
#include "exec/FakeConsoleDlg.h"
#include "exec/FontMetrics.h"
#include "support/DpiChecks.h"

TEST(ConsoleDpi, TheErrorWindowKeepsItsTextAndShowsEightyColumnsAtEveryScale)
{
    LoadRichEdit();
    for (int dpi : { 96, 120, 144, 192 }) {
        SCOPED_TRACE("dpi " + std::to_string(dpi));
        OwnedWindow<FakeConsoleDlg> console;
        console.textMode = true;
        console.title = "Errors in tool.gui";
        console.presetText = "line 3: unknown keyword\r\nline 9: missing braces";
        ASSERT_TRUE(console.Create());
        const int openedAt = console.m_nDpi;
        const int cellBefore = MeasureFont(console.outputCtrl, console.consoleFont).tmHeight;

        MoveToMonitorOfDpi(console.m_hWnd, openedAt, dpi);

        EXPECT_EQ("line 3: unknown keyword\nline 9: missing braces", ShownText(console.outputCtrl));
        const TEXTMETRICA cell = MeasureFont(console.outputCtrl, console.consoleFont);
        if (dpi > openedAt) {
            EXPECT_GT(cell.tmHeight, cellBefore);
        }
        ExpectChildrenWholeAndApart(console.m_hWnd, dpi);
        RECT client = {};
        console.outputCtrl.GetClientRect(&client);
        // The character cell is what the window's width and its widening
        // are counted in.
        EXPECT_LE(80 * cell.tmAveCharWidth, client.right);
    }
}

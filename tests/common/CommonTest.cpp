// The small helpers every floor uses: path splitting and text formatting.

#include <gtest/gtest.h>

#include <string>

#include "common/DpiScale.h"
#include "common/PathParts.h"
#include "common/ScreenArea.h"
#include "common/TextFormat.h"

TEST(PathParts, EitherSeparatorSplitsAndNamesWithoutDotsStayWhole)
{
    EXPECT_EQ(FolderOf("C:\\tools/sub\\run.exe"), "C:\\tools/sub\\");
    EXPECT_EQ(FileNameOf("C:\\tools/sub\\run.exe"), "run.exe");
    EXPECT_EQ(FolderOf("run.exe"), "");
    EXPECT_EQ(FileNameOf("run.exe"), "run.exe");
    EXPECT_EQ(FileNameOf("C:\\tools\\"), "");
    EXPECT_EQ(BaseNameOf("C:\\a.b\\tool.beta.exe"), "tool.beta");
    EXPECT_EQ(BaseNameOf("C:\\a.b\\tool"), "tool");  // a dot in a folder is not the name's
    EXPECT_EQ(BaseNameOf("/x/.exe"), ".exe");
}

TEST(PathParts, LongPathPrefixIsDroppedLocalOrNetwork)
{
    EXPECT_EQ(WithoutLongPathPrefix("\\\\?\\C:\\Forms\\a.gui"), "C:\\Forms\\a.gui");
    EXPECT_EQ(WithoutLongPathPrefix("\\\\?\\unc\\server\\share\\a.gui"), "\\\\server\\share\\a.gui");
    EXPECT_EQ(WithoutLongPathPrefix("\\\\server\\share\\a.gui"), "\\\\server\\share\\a.gui");
    EXPECT_EQ(WithoutLongPathPrefix("\\\\?\\UNCLE\\a.gui"), "UNCLE\\a.gui");
    EXPECT_EQ(WithoutLongPathPrefix("C:\\\\?\\a.gui"), "C:\\\\?\\a.gui");
}

TEST(TextFormat, FormatsTextsOfAnyLength)
{
    EXPECT_EQ(FormatText("%s=%d", "", -7), "=-7");
    // Longer than any fixed buffer a caller once used.
    const std::string path(5000, 'p');
    const std::string line = FormatText("Dropped file: %s\n", path.c_str());
    EXPECT_EQ(line, "Dropped file: " + path + "\n");
}

TEST(DpiScale, KeepsNinetySixDpiValuesAndRoundsLikeMulDiv)
{
    for (int value : { -7, 0, 1, 9, 20, 99999 })
        EXPECT_EQ(ScaleForDpi(value, 96), value);
    EXPECT_EQ(ScaleForDpi(9, 120), 11);    // 11.25
    EXPECT_EQ(ScaleForDpi(10, 120), 13);   // 12.5 rounds up
    EXPECT_EQ(ScaleForDpi(-10, 120), -13); // and away from zero below it
    EXPECT_EQ(ScaleForDpi(5, 144), 8);     // 7.5
    EXPECT_EQ(ScaleForDpi(20, 192), 40);
    EXPECT_EQ(ScaleForDpi(20, 0), 20);     // an unknown DPI is taken as 96
    EXPECT_EQ(RescaleDpi(30, 144, 96), 20);
    EXPECT_EQ(RescaleDpi(1000000, 96, 480), 5000000);  // no overflow on the way
}

TEST(ScreenArea, CentresThenKeepsTheCaptionOnTheMonitor)
{
    // A second monitor to the left of the primary one, with a taskbar on top.
    const ScreenRect work = { -1920, 40, 0, 1080 };
    const ScreenRect centred = CentreIn({ 0, 0, 400, 300 }, work);
    EXPECT_EQ(centred.left, -1920 + 760);
    EXPECT_EQ(centred.top, 40 + 370);
    EXPECT_EQ(centred.Width(), 400);

    // Hanging over the right and bottom edges: moved back in.
    ScreenRect kept = KeepInside({ -100, 1000, 300, 1300 }, work);
    EXPECT_EQ(kept.left, -400);
    EXPECT_EQ(kept.top, 780);
    // Larger than the area: the top-left corner stays inside.
    kept = KeepInside({ -3000, -50, 0, 2000 }, work);
    EXPECT_EQ(kept.left, -1920);
    EXPECT_EQ(kept.top, 40);
    EXPECT_EQ(kept.Height(), 2050);

    EXPECT_TRUE(Overlaps(work, { -1, 0, 10, 41 }));
    EXPECT_FALSE(Overlaps(work, { 0, 40, 10, 50 }));  // right edges are exclusive
}

// The small helpers every floor uses: path splitting and text formatting.

#include <gtest/gtest.h>

#include <string>

#include "common/PathParts.h"
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

#include <gtest/gtest.h>

#include "formui/PathProbe.h"

TEST(PathProbe, TrailingSeparatorsAreDroppedForTheLookupOnly)
{
    EXPECT_EQ(MakeProbePath("D:\\out\\"), "D:\\out");
    EXPECT_EQ(MakeProbePath("D:\\out/\\/"), "D:\\out");
    EXPECT_EQ(MakeProbePath("relative\\dir"), "relative\\dir");
}

TEST(PathProbe, BareDriveBecomesItsRoot)
{
    EXPECT_EQ(MakeProbePath("C:"), "C:\\");
    EXPECT_EQ(MakeProbePath("C:\\"), "C:\\");
    EXPECT_EQ(MakeProbePath("z:/"), "z:\\");
    EXPECT_EQ(MakeProbePath("C:\\\\"), "C:\\");
    // Two characters without a colon are not a drive.
    EXPECT_EQ(MakeProbePath("ab\\"), "ab");
    // Only two characters make a bare drive.
    EXPECT_EQ(MakeProbePath("C:x"), "C:x");
}

TEST(PathProbe, OnlySeparatorsLeaveNothingToFind)
{
    EXPECT_EQ(MakeProbePath("\\"), "");
    EXPECT_EQ(MakeProbePath(""), "");
}

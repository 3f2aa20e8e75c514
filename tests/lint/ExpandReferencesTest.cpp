// The checker's own expansion of environment references on hosts without
// ExpandEnvironmentStrings follows its rules: a defined name between percent
// signs is replaced, anything else stays as written.

#include <gtest/gtest.h>

#include <cstdlib>

#include "lint/CommandValues.h"

TEST(ExpandReferences, DefinedNamesAreReplacedTheRestStays)
{
    setenv("TAVREL_LINT_A", "alpha", 1);
    setenv("TAVREL_LINT_B", "b%TAVREL_LINT_A%", 1);  // replaced once, not again
    unsetenv("TAVREL_LINT_UNSET");
    EXPECT_EQ("alpha\\tool.exe", ExpandEnvironmentReferences("%TAVREL_LINT_A%\\tool.exe"));
    EXPECT_EQ("b%TAVREL_LINT_A%", ExpandEnvironmentReferences("%TAVREL_LINT_B%"));
    EXPECT_EQ("%TAVREL_LINT_UNSET% 100% done", ExpandEnvironmentReferences("%TAVREL_LINT_UNSET% 100% done"));
    // An undefined name keeps its first percent sign; the second may open a
    // reference of its own.
    EXPECT_EQ("%TAVREL_LINT_UNSETalpha", ExpandEnvironmentReferences("%TAVREL_LINT_UNSET%TAVREL_LINT_A%"));
    EXPECT_EQ("%%alpha%", ExpandEnvironmentReferences("%%%TAVREL_LINT_A%%"));
}

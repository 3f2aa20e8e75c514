// The checker's command line: which control a NAME=VALUE names when flags
// and labels hold '=' themselves, and the --timeout option.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formdef/FormModel.h"
#include "formdef/LineReader.h"
#include "lint/CommandValues.h"
#include "lint/LintOptions.h"

namespace {

std::string Built(const std::vector<std::string>& assignments)
{
    CFormModel model;
    LineReader reader("tool\nColours.\n--color=always Always colour\n--color {{text}} Colour\n"
                      "-w {{text}} a=b\n-x {{text}} a\n");
    EXPECT_TRUE(model.ParseLines(reader));
    BuiltCommand built = BuildCommandFor(model, assignments);
    return (built.ok ? "" : "refused: ") + built.text;
}

}  // namespace

TEST(LintCommand, TheLongestFlagOrLabelThatFitsIsTheName)
{
    EXPECT_EQ("tool --color=always", Built({ "--color=always" }));
    EXPECT_EQ("tool --color never", Built({ "--color=never" }));
    EXPECT_EQ("tool --color=always --color \"=always too\"", Built({ "--color=always", "--color==always too" }));
    // Labels too: "a=b=c" fills the field labelled "a=b".
    EXPECT_EQ("tool -w c -x b=c", Built({ "a=b=c", "-x=b=c" }));
    EXPECT_EQ("refused: '--color=always' is ticked or pressed by its name alone, without a value",
              Built({ "--color=always=1" }));
}

TEST(LintOptions, TimeoutIsWholeSecondsAndGoesWithRunBatch)
{
    LintOptions options;
    std::string error;
    EXPECT_FALSE(ParseLintOptions({ "--timeout", "5", "a.gui" }, options, error));
    EXPECT_EQ("--timeout goes with --run-batch", error);
    for (const char* bad : { "0", "1.5", "999999" }) {
        LintOptions rejected;
        EXPECT_FALSE(ParseLintOptions({ "--run-batch", "--timeout", bad, "a.gui" }, rejected, error)) << bad;
        EXPECT_EQ("--timeout needs a whole number of seconds from 1 to 86400", error) << bad;
    }
#if defined(_WIN32)
    LintOptions given;
    ASSERT_TRUE(ParseLintOptions({ "--run-batch", "--timeout", "5", "a.gui" }, given, error)) << error;
    EXPECT_EQ(5, given.batchTimeoutSeconds);
#endif
}

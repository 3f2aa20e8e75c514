// The command line built from a real form's windows: what only the windows
// decide (which radio is selected). The pressed action button is tested
// through its click (RunFlowTest), the quoting without windows in core/.

#include <gtest/gtest.h>

#include "FormHarness.h"

TEST(BuildCommandLine, RadioGroupsContributeTheSelection)
{
    OpenForm form(MakeFormText("tool", {
                                             "{{radiostart}}",
                                             "--fast Fast",               // 0
                                             "--level {{number}} Level",  // 1
                                             "--out {{file}} Out",        // 2
                                             "{{radioend}}",
                                         }));
    form.SetChecked(1, true);  // selected, but its box is empty
    EXPECT_EQ(form.Dialog().BuildCommandLine(true), "tool");
    form.SetText(1, "9");
    EXPECT_EQ(form.Dialog().BuildCommandLine(true), "tool --level 9");
    form.SetChecked(1, false);
    form.SetChecked(2, true);
    form.SetText(2, "a.txt");  // a typed radio quotes by its own type
    EXPECT_EQ(form.Dialog().BuildCommandLine(true), "tool --out \"a.txt\"");
}

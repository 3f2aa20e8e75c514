// The command line built from a real form's windows: what only the windows
// decide (which radio is selected, which action button is being handled).
// The quoting itself is tested without windows in core/.

#include <gtest/gtest.h>

#include "FormHarness.h"

TEST(BuildCommandLine, OnlyThePressedActionButtonContributes)
{
    OpenForm form(MakeFormText("tool", {
                                             "{{button --list}} List",  // 0
                                             "-n {{text}} Name",        // 1
                                             "{{button --test}} Test",  // 2
                                         }));
    form.SetText(1, "x");
    EXPECT_EQ(form.Dialog().BuildCommandLine(true), "tool -n x");
    form.Control(2).m_bPressed = 1;
    EXPECT_EQ(form.Dialog().BuildCommandLine(true), "tool -n x --test");
    form.Control(2).m_bPressed = 0;
    form.Control(0).m_bPressed = 1;
    EXPECT_EQ(form.Dialog().BuildCommandLine(true), "tool --list -n x");
}

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

// Reading the current value of every kind of control from its windows.

#include <gtest/gtest.h>

#include "FormHarness.h"

namespace {

// One control of every kind (indexes in the comments).
std::string EveryKindForm()
{
    return MakeFormText("tool", {
                                    "-v Verbose output",             // 0 checkbox
                                    "{{radiostart}}",                //
                                    "--fast Fast",                   // 1 radio
                                    "--level {{number}} Custom",     // 2 typed radio
                                    "{{radioend}}",                  //
                                    "-n {{text}} Name",              // 3 text field
                                    "{{drive}} -d Target drive",     // 4 drive
                                    "{{button --list}} List",        // 5 action button
                                    "-o {{file}} Output",            // 6 path field
                                });
}

}  // namespace

TEST(FieldValue, CheckboxGivesItsFlagOnlyWhenTicked)
{
    OpenForm form(EveryKindForm());
    EXPECT_EQ(form.Control(0).GetValue(), "");
    form.SetChecked(0, true);
    EXPECT_EQ(form.Control(0).GetValue(), "-v");
    form.SetChecked(0, false);
    EXPECT_EQ(form.Control(0).GetValue(), "");
}

TEST(FieldValue, RadioButtons)
{
    OpenForm form(EveryKindForm());
    EXPECT_EQ(form.Control(1).GetValue(), "");
    form.SetChecked(1, true);
    EXPECT_EQ(form.Control(1).GetValue(), "--fast");

    // Typing into the typed radio's box selects it; its value is the text.
    form.SetText(2, "7");
    form.SetChecked(1, false);
    form.SetChecked(2, true);
    EXPECT_EQ(form.Control(1).GetValue(), "");
    EXPECT_EQ(form.Control(2).GetValue(), "7");

    // Not selected: nothing, even with text in its box.
    form.SetChecked(2, false);
    EXPECT_EQ(form.Control(2).GetValue(), "");

    form.SetChecked(2, true);
    form.SetText(2, "");
    EXPECT_EQ(form.Control(2).GetValue(), "");
}

TEST(FieldValue, EditBoxTextIsTakenWhole)
{
    OpenForm form(EveryKindForm());
    EXPECT_EQ(form.Control(3).GetValue(), "");
    form.SetText(3, "  two  words ");
    EXPECT_EQ(form.Control(3).GetValue(), "  two  words ");
    form.SetText(6, "C:\\out\\");
    EXPECT_EQ(form.Control(6).GetValue(), "C:\\out\\");
}

TEST(FieldValue, DriveChoiceReadsAsListed)
{
    OpenForm form(EveryKindForm());
    CWnd* combo = form.Control(4).m_pCombo.get();
    ASSERT_NE(combo, nullptr);
    // "<select drive>" is selected at first and means no value.
    EXPECT_EQ(combo->SendMessage(CB_GETCURSEL), 0);
    EXPECT_EQ(form.Control(4).GetValue(), "");

    ASSERT_GE(combo->SendMessage(CB_GETCOUNT), 2) << "the machine lists no drive";
    form.SelectDrive(4, 1);
    std::string drive = form.Control(4).GetValue();
    ASSERT_EQ(drive.size(), 2u);
    EXPECT_EQ(drive[1], ':');

    // Nothing selected at all.
    combo->SendMessage(CB_SETCURSEL, static_cast<WPARAM>(-1));
    EXPECT_EQ(form.Control(4).GetValue(), "");
}

TEST(FieldValue, ControlWithoutWindowsHasNoValue)
{
    CControlDef definition;
    definition.m_strFlag = "-x";
    FormControl bare(definition);
    EXPECT_EQ(bare.GetValue(), "");
}

// How one control line becomes a control definition, and what the parser
// writes while reading it.

#include <gtest/gtest.h>

#include <cctype>
#include <iterator>

#include "FormdefTestSupport.h"
#include "common/Diag.h"

namespace {

struct LineCase {
    const char* line;
    const char* flag;
    const char* type;
    const char* label;
    int required;
    int actionButton;
};

// Names each generated case after its line (letters, digits and '-' only,
// so that the test name is safe for ctest) instead of a byte dump.
void PrintTo(const LineCase& c, std::ostream* out)
{
    for (const char* p = c.line; *p; ++p) *out << (isalnum(static_cast<unsigned char>(*p)) || *p == '-' ? *p : '_');
}

class ControlLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(ControlLineTest, GivesFlagTypeLabelAndFlags)
{
    const LineCase& c = GetParam();
    RecordingPresenter presenter;
    CFormModel model;
    ASSERT_TRUE(ParseText(model, std::string("tool\ndescription\n") + c.line + "\n"));
    ASSERT_EQ(model.m_controls.size(), 1u);
    const CControlDef& control = *model.m_controls[0];
    EXPECT_EQ(control.m_strFlag, c.flag);
    EXPECT_EQ(control.m_strType, c.type);
    EXPECT_EQ(control.m_strLabel, c.label);
    EXPECT_EQ(control.m_bRequired, c.required);
    EXPECT_EQ(control.m_bActionButton, c.actionButton);
    EXPECT_EQ(control.m_nRadioGroup, -1);
    EXPECT_TRUE(presenter.reports.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Grammar, ControlLineTest,
    ::testing::Values(
        LineCase{"-v Verbose output", "-v", "", "Verbose output", 0, 0},
        LineCase{"-a\tTabbed   label ", "-a", "", "Tabbed   label", 0, 0},
        LineCase{"--only-a-flag", "--only-a-flag", "", "", 0, 0},
        LineCase{"{{required text}} -n Name", "", "text", "-n Name", 1, 0},
        LineCase{"-n {{required}} Name", "-n", "", "Name", 1, 0},
        LineCase{"{{required foo}} X", "", "foo", "X", 1, 0},
        LineCase{"{{ required   dir }}Folder", "", "dir", "Folder", 1, 0},
        LineCase{"-x {{button y}} Label", "-x", "y", "Label", 0, 0},
        LineCase{"-x {{radiostart}} Label", "-x", "radiostart", "Label", 0, 0},
        LineCase{"-d {{file *.txt}} Pick", "-d", "*.txt", "Pick", 0, 0},
        LineCase{"{{buttonX}}", "", "", "", 0, 1},
        LineCase{"{{buttons -a}} A", "-a", "", "A", 0, 1},
        LineCase{"{{button}} Go", "", "", "Go", 0, 1},
        LineCase{"{{button -x}} {{file}} Go", "-x", "", "{{file}} Go", 0, 1},
        LineCase{"{{}} -x Foo", "{{}}", "", "-x Foo", 0, 0},
        LineCase{"{{}", "{{}", "", "", 0, 0},
        LineCase{"'abc def", "'abc", "", "def", 0, 0},
        LineCase{"'' Label rest", "", "", "Label rest", 0, 0},
        LineCase{"\"a b\"c", "a b", "", "c", 0, 0},
        LineCase{"\"x' Mixed", "\"x'", "", "Mixed", 0, 0},
        LineCase{"-o{{file}} Out", "-o{{file}}", "", "Out", 0, 0},
        LineCase{"{{file}}-o Out", "-o", "file", "Out", 0, 0},
        LineCase{"{{newfiledir}}", "", "newfiledir", "", 0, 0},
        LineCase{"\"\"{{dir}}Target", "", "dir", "Target", 0, 0},
        LineCase{"-x Label {{with}} braces }}", "-x", "", "Label {{with}} braces }}", 0, 0}));

// A rejected tag is reported and the line is read as though it had none.
TEST(ControlLineErrors, BadTagIsReportedAndLineReadWithoutIt)
{
    struct ErrorCase {
        const char* line;
        const char* message;
        const char* flag;
        const char* type;
        const char* label;
    } cases[] = {
        {"{{Text}} Name", "Unrecognized keyword 'Text'", "{{Text}}", "", "Name"},
        {"{{text Name", "Possible unclosed tag (missing }})", "{{text", "", "Name"},
        {"{{ab}}", "Unrecognized keyword 'ab'", "{{ab}}", "", ""},
        {"-x {{bogus arg}} Label", "Unrecognized keyword 'bogus'", "-x", "", "{{bogus arg}} Label"},
        {"-x {{file Label", "Possible unclosed tag (missing }})", "-x", "", "{{file Label"},
        {"{{100%s}} x", "Unrecognized keyword '100%s'", "{{100%s}}", "", "x"},
    };
    for (const ErrorCase& c : cases) {
        RecordingPresenter presenter;
        CFormModel model;
        DiagCapture capture;
        EXPECT_TRUE(ParseText(model, std::string("tool\ndesc\n") + c.line)) << c.line;
        EXPECT_NE(capture.Text().find(std::string("##ERROR##\tLine 3: ") + c.message + "\n"),
                  std::string::npos)
            << capture.Text();
        ASSERT_EQ(model.m_controls.size(), 1u) << c.line;
        EXPECT_EQ(model.m_controls[0]->m_strFlag, c.flag);
        EXPECT_EQ(model.m_controls[0]->m_strType, c.type);
        EXPECT_EQ(model.m_controls[0]->m_strLabel, c.label);
        EXPECT_EQ(presenter.reports.size(), 1u);
    }
}

TEST(ControlLineErrors, RequiredWithoutTypeStopsTheParse)
{
    RecordingPresenter presenter;
    CFormModel model;
    DiagCapture capture;
    EXPECT_FALSE(ParseText(model, "tool\ndesc\n-a A\n{{required}} X\n-b B\n"));
    ASSERT_EQ(model.m_controls.size(), 1u);
    EXPECT_EQ(model.m_controls[0]->m_strFlag, "-a");
    EXPECT_EQ(model.m_nLine, 4);
    const std::string& text = capture.Text();
    EXPECT_NE(text.find("Line 4: {{required}} X\n  -> Required field\n##ERROR##\tLine 4: "
                        "{{required}} tag missing type (e.g., {{required text}})\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("Parsed"), std::string::npos);
    EXPECT_EQ(text.find("-b"), std::string::npos);
}

// What each line becomes in the form and how many windows it needs: the
// form window, the window limit and tavrel-lint all rely on this one answer.
TEST(ControlLineKind, KindAndWindowCountFollowTheParsedFields)
{
    RecordingPresenter presenter;
    CFormModel model;
    ASSERT_TRUE(ParseText(model, "tool\ndesc\n"
                                 "{{button -go}} Go\n"             // action button
                                 "-v Verbose\n"                   // checkbox
                                 "{{text}} Plain\n"               // field without flag
                                 "-o {{newfile}} Output\n"        // path field: Browse too
                                 "-d {{drive}} Drive\n"           // field
                                 "{{radiostart}}\n"
                                 "-a Alpha\n"                     // radio
                                 "-n {{number}} Count\n"          // typed radio with label
                                 "-m {{text}}\n"                  // typed radio without label
                                 "{{radioend}}\n"));
    const struct {
        ControlKind kind;
        int windows;
    } expected[] = { { ControlKind::ActionButton, 1 }, { ControlKind::Checkbox, 1 }, { ControlKind::Field, 2 },
                     { ControlKind::Field, 3 },        { ControlKind::Field, 2 },    { ControlKind::Radio, 1 },
                     { ControlKind::TypedRadio, 3 },   { ControlKind::TypedRadio, 2 } };
    ASSERT_EQ(model.m_controls.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(model.m_controls[i]->Kind(), expected[i].kind) << "control " << i;
        EXPECT_EQ(model.m_controls[i]->WindowCount(), expected[i].windows) << "control " << i;
    }
}

}  // namespace

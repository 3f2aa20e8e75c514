// The complete example form: every resulting definition and the whole trace.

#include <gtest/gtest.h>

#include "FormdefTestSupport.h"
#include "common/Diag.h"
#include "support/WorkedExampleForm.h"

namespace {

struct Expected {
    const char* flag;
    const char* type;
    const char* label;
    int required;
    int group;
    int first;
    int actionButton;
};

const Expected kExpected[] = {
    {"", "file", "Input file", 1, -1, 0, 0},
    {"-o", "newfile", "Output archive", 1, -1, 0, 0},
    {"-v", "", "Verbose output", 0, -1, 0, 0},
    {"--fast", "", "Fast", 1, 1, 1, 0},
    {"--best", "", "Best compression", 1, 1, 0, 0},
    {"--level", "number", "Custom level", 1, 1, 0, 0},
    {"", "text", "Extra arguments", 0, -1, 0, 0},
    {"-d", "drive", "Target drive", 0, -1, 0, 0},
    {"/mode quick", "", "Quick mode", 0, -1, 0, 0},
    {"--list", "", "List contents", 0, -1, 0, 1},
};

const char* const kExpectedTrace =
    "Command: %ToolsDir%\\mytool.exe\n"
    "Description: Compress files into an archive.\n"
    "Line 3: {{required file}} Input file\n"
    "  -> Required field\n"
    "  -> Type: file\n"
    "  -> Label: Input file\n"
    "Line 4: -o {{required newfile}} Output archive\n"
    "  -> Flag: -o\n"
    "  -> Required flag with type: newfile\n"
    "  -> Label: Output archive\n"
    "Line 6: -v Verbose output\n"
    "  -> Flag: -v\n"
    "  -> Label: Verbose output\n"
    "Line 7: {{radiostart required}}\n"
    "  -> Radio group start (required=1)\n"
    "Line 8: --fast Fast\n"
    "  -> Flag: --fast\n"
    "  -> Radio button (group 1, first=1)\n"
    "  -> Label: Fast\n"
    "Line 9: --best Best compression\n"
    "  -> Flag: --best\n"
    "  -> Radio button (group 1, first=0)\n"
    "  -> Label: Best compression\n"
    "Line 10: --level {{number}} Custom level\n"
    "  -> Flag: --level\n"
    "  -> Type: number\n"
    "  -> Radio button (group 1, first=0)\n"
    "  -> Label: Custom level\n"
    "Line 11: {{radioend}}\n"
    "  -> Radio group end\n"
    "Line 12: \"\" {{text}} Extra arguments\n"
    "  -> Flag: \n"
    "  -> Type: text\n"
    "  -> Label: Extra arguments\n"
    "Line 13: {{drive}} -d Target drive\n"
    "  -> Standalone type: drive\n"
    "  -> Flag: -d\n"
    "  -> Label: Target drive\n"
    "Line 14: '/mode quick' Quick mode\n"
    "  -> Flag: /mode quick\n"
    "  -> Label: Quick mode\n"
    "Line 15: {{button --list}} List contents\n"
    "  -> Action button\n"
    "  -> Button control\n"
    "  -> Flag: --list\n"
    "  -> Label: List contents\n"
    "Parsed 10 controls\n";

std::string JoinLines(const char* lineEnd)
{
    std::string text = std::string("%ToolsDir%\\mytool.exe") + lineEnd + "Compress files into an archive." + lineEnd;
    for (const std::string& line : WorkedExampleControlLines())
        text += line + lineEnd;
    return text;
}

void ExpectExampleModel(const CFormModel& model)
{
    EXPECT_EQ(model.m_strCommand, "%ToolsDir%\\mytool.exe");
    EXPECT_EQ(model.m_strDescription, "Compress files into an archive.");
    EXPECT_EQ(model.m_bBatchCmd, 0);
    EXPECT_EQ(model.m_nLine, 15);
    ASSERT_EQ(model.m_controls.size(), std::size(kExpected));
    for (size_t i = 0; i < std::size(kExpected); ++i) {
        const CControlDef& c = *model.m_controls[i];
        const Expected& e = kExpected[i];
        SCOPED_TRACE("definition " + std::to_string(i));
        EXPECT_EQ(c.m_nIndex, static_cast<int>(i));
        EXPECT_EQ(c.m_strFlag, e.flag);
        EXPECT_EQ(c.m_strType, e.type);
        EXPECT_EQ(c.m_strLabel, e.label);
        EXPECT_EQ(c.m_bRequired, e.required);
        EXPECT_EQ(c.m_nRadioGroup, e.group);
        EXPECT_EQ(c.m_bFirstInGroup, e.first);
        EXPECT_EQ(c.m_bActionButton, e.actionButton);
    }
}

TEST(WorkedExample, FileWithCrLfGivesTheTableAndTheTrace)
{
    PortableTempFolder folder;
    std::string path = folder.Write("mytool.gui", JoinLines("\r\n"));
    RecordingPresenter presenter;
    CFormModel model;
    DiagCapture capture;
    ASSERT_TRUE(model.ParseFile(path));
    ExpectExampleModel(model);
    EXPECT_EQ(capture.Text(), kExpectedTrace);
    EXPECT_TRUE(presenter.reports.empty());
    EXPECT_EQ(presenter.quitRequests, 0);
}

TEST(WorkedExample, TextWithLfGivesTheSameModel)
{
    CFormModel model;
    DiagCapture capture;
    ASSERT_TRUE(ParseText(model, JoinLines("\n")));
    ExpectExampleModel(model);
    EXPECT_EQ(capture.Text(), kExpectedTrace);
}

TEST(WorkedExample, BatchCmdLineMakesTheRestAScript)
{
    CFormModel model;
    DiagCapture capture;
    ASSERT_TRUE(ParseText(model, "tool\ndesc\n{{batch cmd}}\necho %1\npause\n"));
    EXPECT_TRUE(model.m_controls.empty());
    EXPECT_EQ(model.m_bBatchCmd, 1);
    EXPECT_EQ(model.m_strBatchScript, "echo %1\r\npause\r\n");
    EXPECT_EQ(model.m_nLine, 5);
    EXPECT_EQ(capture.Text(), "Command: tool\nDescription: desc\n"
                              "{{batch cmd}} tag detected - reading remainder as script\n"
                              "Parsed 0 controls\n");
}

}  // namespace

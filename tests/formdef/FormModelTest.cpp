// Whole-file structure and the model's invariants: header lines, radio
// groups, indexes, embedded scripts, Clear and ownership.

#include <gtest/gtest.h>

#include "FormdefTestSupport.h"
#include "common/Diag.h"

namespace {

std::vector<int> Groups(const CFormModel& model)
{
    std::vector<int> groups;
    for (const auto& control : model.m_controls) groups.push_back(control->m_nRadioGroup);
    return groups;
}

std::vector<int> Firsts(const CFormModel& model)
{
    std::vector<int> firsts;
    for (const auto& control : model.m_controls) firsts.push_back(control->m_bFirstInGroup);
    return firsts;
}

TEST(FormStructure, HeaderLines)
{
    CFormModel model;
    DiagCapture capture;
    ASSERT_TRUE(ParseText(model, "  tool.exe -x \r\n\t Does things.\t\r\n"));
    EXPECT_EQ(model.m_strCommand, "tool.exe -x");
    EXPECT_EQ(model.m_strDescription, "Does things.");
    EXPECT_TRUE(model.m_controls.empty());
    EXPECT_EQ(model.m_nRadioGroup, 0);
    EXPECT_EQ(capture.Text(), "Command: tool.exe -x\nDescription: Does things.\nParsed 0 controls\n");

    ASSERT_TRUE(ParseText(model, "\n\n"));  // blank command and description are valid
    EXPECT_EQ(model.m_strCommand, "");
    EXPECT_EQ(model.m_strDescription, "");

    CFormModel withMark;
    ASSERT_TRUE(ParseText(withMark, "\xEF\xBB\xBFtool\n{{text}} not parsed\n"));
    // The parser reads text: a mark is removed when a file is read, not here.
    EXPECT_EQ(withMark.m_strCommand, "\xEF\xBB\xBFtool");
    EXPECT_EQ(withMark.m_strDescription, "{{text}} not parsed");
    EXPECT_TRUE(withMark.m_controls.empty());
}

TEST(FormStructure, IndexesCountOnlyDefinitions)
{
    CFormModel model;
    ASSERT_TRUE(ParseText(model, "t\nd\n\n{{radiostart}}\n\n-a A\n{{radioend}}\n  \n-b B\n{{button x}} X\n"));
    ASSERT_EQ(model.m_controls.size(), 3u);
    for (size_t i = 0; i < model.m_controls.size(); ++i)
        EXPECT_EQ(model.m_controls[i]->m_nIndex, static_cast<int>(i));
    EXPECT_EQ(model.m_nNextIndex, 3);
    EXPECT_EQ(model.m_nLine, 10);
}

TEST(RadioGroups, MembershipNumberingAndFirstMember)
{
    RecordingPresenter presenter;
    CFormModel model;
    ASSERT_TRUE(ParseText(model,
                          "t\nd\n"
                          "-before Outside\n"
                          "{{radiostart required}} ignored text\n"
                          "--x\n"                     // flag, no label: joins
                          "{{text}}\n"                // no flag: does not join
                          "-y {{required file}} Y\n"  // joins; required comes from the group
                          "{{radiostart}}\n"          // a new group without an end
                          "{{button go}} Go\n"        // buttons never join
                          "-z Z\n"
                          "{{required text}} Req\n"   // leading required tag: no group
                          "-w {{required text}} W\n"  // the group decides: not required
                          "{{radioend}} trailing\n"
                          "-after After\n"));
    EXPECT_EQ(Groups(model), (std::vector<int>{-1, 1, -1, 1, -1, 2, -1, 2, -1}));
    EXPECT_EQ(Firsts(model), (std::vector<int>{0, 1, 0, 0, 0, 1, 0, 0, 0}));
    const auto& c = model.m_controls;
    EXPECT_EQ(c[1]->m_strLabel, "");
    EXPECT_EQ(c[1]->m_bRequired, 1);
    EXPECT_EQ(c[3]->m_strType, "file");
    EXPECT_EQ(c[5]->m_bRequired, 0);  // the second start's flag replaced the first's
    EXPECT_EQ(c[6]->m_bRequired, 1);
    EXPECT_EQ(c[7]->m_bRequired, 0);
    EXPECT_EQ(model.m_nRadioGroup, 2);
    EXPECT_EQ(model.m_bInRadioGroup, 0);
    EXPECT_TRUE(presenter.reports.empty());
}

TEST(RadioGroups, StartAndEndVariants)
{
    struct StartCase {
        const char* start;
        int required;
    } cases[] = {{"{{radiostart}}", 0},          {"{{radiostart required}}", 1},
                 {"{{required radiostart}} x", 1}, {"{{radiostart optional}}", 0},
                 {"{{ radiostart   required }}", 1}};
    for (const StartCase& c : cases) {
        CFormModel model;
        ASSERT_TRUE(ParseText(model, std::string("t\nd\n") + c.start + "\n-a A\n"));
        ASSERT_EQ(model.m_controls.size(), 1u) << c.start;
        EXPECT_EQ(model.m_controls[0]->m_nRadioGroup, 1) << c.start;
        EXPECT_EQ(model.m_controls[0]->m_bRequired, c.required) << c.start;
        EXPECT_EQ(model.m_bInRadioGroup, 1) << c.start;  // left open: not an error
    }

    CFormModel model;
    ASSERT_TRUE(ParseText(model, "t\nd\n{{radioend}}\n-a A\n"));
    EXPECT_EQ(model.m_nRadioGroup, 0);
    EXPECT_EQ(model.m_controls[0]->m_nRadioGroup, -1);
}

// The first-member test must not carry over from an earlier parse.
TEST(RadioGroups, FirstMemberAfterClearAndAfterAnotherParse)
{
    PortableTempFolder folder;
    std::string path = folder.Write("g.gui", "t\nd\n{{radiostart}}\n-a A\n-b B\n{{radioend}}\n");
    CFormModel model;
    ASSERT_TRUE(model.ParseFile(path));
    ASSERT_TRUE(model.ParseFile(path));  // clears first: group 1 again
    EXPECT_EQ(Groups(model), (std::vector<int>{1, 1}));
    EXPECT_EQ(Firsts(model), (std::vector<int>{1, 0}));

    // Without Clear the numbering goes on and the next group gets its first.
    ASSERT_TRUE(ParseText(model, "t\nd\n-c C\n{{radiostart}}\n-d D\n"));
    EXPECT_EQ(Groups(model), (std::vector<int>{1, 1, -1, 2}));
    EXPECT_EQ(Firsts(model), (std::vector<int>{1, 0, 0, 1}));
}

TEST(BatchCmd, RestOfFileIsKeptAsScript)
{
    CFormModel model;
    ASSERT_TRUE(ParseText(model, "t {{batch cmd}}\n{{batch cmd}}\n-a A\nNotes {{batch cmd}} here\n"
                                 "  @echo off\r\n\n\techo %1 {{text}}\nlast"));
    EXPECT_EQ(model.m_strCommand, "t {{batch cmd}}");  // not recognised on lines 1 and 2
    EXPECT_EQ(model.m_strDescription, "{{batch cmd}}");
    ASSERT_EQ(model.m_controls.size(), 1u);
    EXPECT_EQ(model.m_bBatchCmd, 1);
    EXPECT_EQ(model.m_strBatchScript, "  @echo off\r\n\r\n\techo %1 {{text}}\r\nlast\r\n");
    EXPECT_EQ(model.m_nLine, 8);
}

// Counts destructions to check that the model really owns its definitions.
struct CountedControl : CControlDef {
    CountedControl(std::vector<int>& log, int id) : m_log(log), m_id(id) {}
    ~CountedControl() override { m_log.push_back(m_id); }
    std::vector<int>& m_log;
    int m_id;
};

TEST(ModelLifetime, ClearDeletesInOrderAndResetsState)
{
    std::vector<int> destroyed;
    CFormModel model;
    ASSERT_TRUE(ParseText(model, "t\nd\n{{radiostart required}}\n-a A\n{{batch cmd}}\necho\n"));
    for (int id = 0; id < 3; ++id) model.m_controls.push_back(std::make_unique<CountedControl>(destroyed, id));
    model.m_nLine = 42;

    model.Clear();
    EXPECT_EQ(destroyed, (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(model.m_controls.empty());
    EXPECT_EQ(model.m_controls.capacity(), 0u);
    EXPECT_EQ(model.m_strCommand, "");
    EXPECT_EQ(model.m_strDescription, "");
    EXPECT_EQ(model.m_strBatchScript, "");
    EXPECT_EQ(model.m_bBatchCmd + model.m_bInRadioGroup + model.m_bRadioGroupRequired, 0);
    EXPECT_EQ(model.m_nRadioGroup + model.m_nNextIndex, 0);
    EXPECT_EQ(model.m_nLine, 42);  // only the parser resets it

    model.Clear();  // harmless a second time
    EXPECT_EQ(destroyed.size(), 3u);

    {
        CFormModel owner;
        owner.m_controls.push_back(std::make_unique<CountedControl>(destroyed, 7));
    }
    EXPECT_EQ(destroyed.back(), 7);
}

TEST(ControlDefinition, PathTypes)
{
    CControlDef control;
    for (const char* type : {"file", "newfile", "dir", "newdir", "filedir", "newfiledir"}) {
        control.m_strType = type;
        EXPECT_TRUE(control.IsPathType()) << type;
    }
    for (const char* type : {"", "text", "number", "drive", "File", "file ", "newfil", "foo"}) {
        control.m_strType = type;
        EXPECT_FALSE(control.IsPathType()) << type;
    }
}

}  // namespace

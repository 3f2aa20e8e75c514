// Building the whole line from control definitions and their values; the
// values come from a table instead of windows.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ArgvSplitter.h"
#include "common/Diag.h"
#include "formdef/ControlDef.h"
#include "formui/CommandLineQuoting.h"

namespace {

class FormUnderTest {
public:
    // Adds a control in file order; `value` is what its windows would hold.
    CControlDef& Add(const std::string& type, const std::string& flag, const std::string& value)
    {
        auto control = std::make_unique<CControlDef>();
        control->m_nIndex = static_cast<int>(m_controls.size());
        control->m_strType = type;
        control->m_strFlag = flag;
        m_values[control.get()] = value;
        m_controls.push_back(std::move(control));
        return *m_controls.back();
    }

    std::vector<const CControlDef*> List() const
    {
        std::vector<const CControlDef*> list;
        for (const auto& control : m_controls)
            list.push_back(control.get());
        return list;
    }

    std::string Build(const std::string& command, bool withCommand) const
    {
        return BuildFrom(command, List(), withCommand);
    }

    std::string BuildFrom(const std::string& command, const std::vector<const CControlDef*>& list,
                          bool withCommand) const
    {
        return AssembleCommandLine(
            command, list, [this](const CControlDef& control) { return m_values.at(&control); }, withCommand);
    }

private:
    std::vector<std::unique_ptr<CControlDef>> m_controls;
    std::map<const CControlDef*, std::string> m_values;
};

}  // namespace

TEST(CommandLineAssembly, CopytoolExample)
{
    FormUnderTest form;
    form.Add("dir", "", "C:\\My Files");
    form.Add("dir", "", "D:\\out");
    form.Add("", "/MIR", "/MIR");  // checked checkbox
    form.Add("number", "/R:", "3");
    form.Add("", "/V", "");  // unchecked checkbox
    EXPECT_EQ(form.Build("copytool", true), "copytool \"C:\\My Files\" \"D:\\out\" /MIR /R: 3");
}

TEST(CommandLineAssembly, EmptyValuesAndEmptyCommand)
{
    FormUnderTest form;
    EXPECT_EQ(form.Build("tool -x", true), "tool -x");
    EXPECT_EQ(form.Build("tool -x", false), "");

    form.Add("text", "-n", "");  // no value: not even the flag
    form.Add("file", "", "");
    EXPECT_EQ(form.Build("tool", true), "tool");  // no trailing space
    EXPECT_EQ(form.Build("tool", false), "");

    form.Add("text", "-a", "1");
    form.Add("text", "", "two");
    EXPECT_EQ(form.Build("", true), "-a 1 two");  // no leading space
    EXPECT_EQ(form.Build("ignored", false), "-a 1 two");
}

TEST(CommandLineAssembly, QuotingFollowsTypeAndSpaces)
{
    FormUnderTest form;
    form.Add("text", "", "plain");
    form.Add("file", "", "plain");
    form.Add("text", "-m", "two words");
    form.Add("", "/mode quick", "/mode quick");  // checkbox flag with a space
    form.Add("drive", "-d", "C:");
    form.Add("number", "--level", "x9");  // no digit check
    EXPECT_EQ(form.Build("t", true), "t plain \"plain\" -m \"two words\" /mode quick -d C: --level x9");
}

TEST(CommandLineAssembly, ValueEqualToFlagIsWrittenOnce)
{
    FormUnderTest form;
    form.Add("text", "-o", "-o");
    DiagCapture diag;
    EXPECT_EQ(form.Build("t", true), "t -o");
    EXPECT_NE(diag.Text().find("  Added flag: -o\n"), std::string::npos);
}

TEST(CommandLineAssembly, FileOrderNotListOrder)
{
    FormUnderTest form;
    CControlDef& first = form.Add("text", "-a", "1");
    CControlDef& second = form.Add("text", "-b", "2");
    CControlDef& third = form.Add("text", "-c", "3");
    std::vector<const CControlDef*> shuffled = {&third, &first, &second};
    EXPECT_EQ(form.BuildFrom("t", shuffled, true), "t -a 1 -b 2 -c 3");
    // The caller's list is not reordered.
    EXPECT_EQ(shuffled[0], &third);
    EXPECT_EQ(shuffled[1], &first);
}

TEST(CommandLineAssembly, DiagnosticLines)
{
    FormUnderTest form;
    form.Add("number", "/R:", "3");
    form.Add("text", "", "pos");
    form.Add("text", "-x", "");
    form.Add("dir", "-o", "C:\\");  // logged as read, without quotes or escapes
    {
        DiagCapture diag;
        form.Build("tool", true);
        EXPECT_EQ(diag.Text(),
                  "\n=== BuildCommandLine ===\n"
                  "  Added: /R: 3\n"
                  "  Added:  pos\n"
                  "  Added: -o C:\\\n"
                  "Final command: tool /R: 3 pos -o \"C:\\\\\"\n");
    }
    DiagCapture diag;
    form.Build("tool", false);
    EXPECT_NE(diag.Text().find("Argument list: /R: 3 pos -o \"C:\\\"\n"), std::string::npos) << diag.Text();
}

TEST(CommandLineAssembly, FullLineReadsBackAsTheEnteredValues)
{
    FormUnderTest form;
    form.Add("dir", "", "C:\\");
    form.Add("newdir", "-o", "D:\\out\\");
    form.Add("text", "-m", "say \"hi\"");
    form.Add("text", "", "x\"y");
    std::string line = form.Build("tool", true);
    ASSERT_EQ(line.rfind("tool ", 0), 0u);
    std::vector<std::string> expected = {"C:\\", "-o", "D:\\out\\", "-m", "say \"hi\"", "x\"y"};
    EXPECT_EQ(SplitProgramArguments(line.substr(5)), expected);
}

TEST(CommandLineAssembly, ArgumentListFollowsBatchRules)
{
    FormUnderTest form;
    form.Add("dir", "", "C:\\");
    form.Add("text", "-t", "a&b");
    EXPECT_EQ(form.Build("ignored", false), "\"C:\\\" -t \"a&b\"");
}

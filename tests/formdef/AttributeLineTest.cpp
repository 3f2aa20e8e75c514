// Attribute lines: what each one gives the control above it, and how a
// misplaced one is reported (at its own line; the parse goes on without it).

#include <gtest/gtest.h>

#include "FormdefTestSupport.h"
#include "formdef/ChoicesCommand.h"

namespace {

class ErrorRecorder : public RecordingPresenter {
public:
    void RecordError(int line, const std::string& message) override
    {
        errors += "line " + std::to_string(line) + ": " + message + "\n";
    }
    std::string errors;
};

// Stands in for the command interpreter: "printf TEXT" prints TEXT with \n
// for line ends, anything else fails with what it "printed".
class FakeChoicesRunner : public ChoicesCommandRunner {
public:
    bool Run(const std::string& command, std::string& output, std::string& failure) override
    {
        if (command.rfind("printf ", 0) != 0) {
            failure = "{{choices-from}} command failed with exit code 1:\r\n'" + command + "' is not recognized";
            return false;
        }
        output = command.substr(7);
        for (size_t at = output.find("\\n"); at != std::string::npos; at = output.find("\\n", at))
            output.replace(at, 2, "\r\n");
        return true;
    }
};

std::string Joined(const std::vector<std::string>& items)
{
    std::string text;
    for (const std::string& item : items)
        text += (text.empty() ? "" : "|") + item;
    return text;
}

// The attributes of the first control as one line, for comparing.
std::string Described(const CFormModel& model)
{
    if (model.m_controls.empty())
        return "no control";
    const ControlAttributes& a = model.m_controls[0]->m_attributes;
    std::string text;
    if (a.defaultLine) text += "default=" + a.defaultValue + " ";
    if (a.HasChoices()) text += "choices=" + Joined(a.choices) + " ";
    if (!a.choicesCommand.empty()) text += "from=" + a.choicesCommand + " ";
    if (a.patternLine) text += "pattern=" + a.pattern + " message=" + a.patternMessage + " ";
    if (a.helpLine) text += "help=" + a.help + " ";
    return text;
}

struct AttributeCase {
    const char* lines;       // from line 3 on
    const char* attributes;  // of the first control
    const char* errors;      // "line N: message\n" for each
};

}  // namespace

TEST(AttributeLines, ApplyToTheControlAboveOrAreReportedAtTheirLine)
{
    const AttributeCase cases[] = {
        // What each attribute gives.
        {"-n {{text}} Name\n{{default}}  %USERNAME% \n{{help}} Who you are\n",
         "default=%USERNAME% help=Who you are ", ""},
        {"-m {{text}} Mode\n{{choices}} fast | best||  \n{{default}} best\n", "default=best choices=fast|best ", ""},
        {"{{required text}} Branch\n{{choices-from}} printf main\\n\\n  dev \\n\n",
         "choices=main|dev from=printf main\\n\\n  dev \\n ", ""},
        {"-c {{number}} Count\n{{pattern Give a whole number.}} [0-9]+\n", "pattern=[0-9]+ message=Give a whole number. ",
         ""},
        {"-v Verbose\n{{default}} on\n{{help}} More output\n", "default=on help=More output ", ""},
        {"-d {{drive}} Drive\n{{default}} d:\\\n", "default=D: ", ""},
        {"{{radiostart}}\n-a A\n-b {{text}} B\n{{default}} on\n{{pattern}} b.*\n{{radioend}}\n", "", ""},
        {"{{button -x}} Go\n{{help}} Runs it\n", "help=Runs it ", ""},
        // Misplaced: no control above, the wrong kind, twice, disagreeing.
        {"{{default}} x\n-a A\n", "", "line 3: {{default}} belongs under a control line, and there is none above it\n"},
        {"-a A\n{{radiostart}}\n{{help}} x\n{{radioend}}\n", "",
         "line 5: {{help}} belongs under a control line, and there is none above it\n"},
        {"{{button -x}} Go\n{{default}} on\n", "", "line 4: {{default}} does not apply to an action button\n"},
        {"-v V\n{{choices}} a|b\n{{pattern}} x\n", "",
         "line 4: {{choices}} does not apply to a checkbox\nline 5: {{pattern}} does not apply to a checkbox\n"},
        {"-d {{drive}} D\n{{choices-from}} printf C:\n{{default}} 1:\n", "",
         "line 4: {{choices-from}} does not apply to a drive field\n"
         "line 5: {{default}} of a drive field is a drive letter (e.g. C:)\n"},
        {"-v V\n{{default}} yes\n", "", "line 4: {{default}} of a checkbox is on or off\n"},
        {"{{text}} T\n{{default}} a\n{{default}} b\n{{choices}} a\n{{choices-from}} printf a\n", "default=a choices=a ",
         "line 5: Second {{default}} for the control of line 3 (the first is on line 4)\n"
         "line 7: Second list of choices for the control of line 3 (the first is on line 6)\n"},
        {"{{text}} T\n{{default}} c\n{{choices}} a|b\n", "default=c choices=a|b ", "line 5: Default 'c' is not among the choices\n"},
        {"{{radiostart}}\n-a A\n{{default}} on\n-b B\n{{default}} on\n", "",
         "line 7: Radio group already starts with another choice (default on line 5)\n"},
        {"{{text}} T\n{{choices}} | |\n{{choices-from}}\n{{pattern}}\n{{pattern}} a(\n", "",
         "line 4: {{choices}} lists no items (separate them with |)\nline 5: {{choices-from}} names no command\n"
         "line 6: {{pattern}} needs a regular expression after the tag\n"
         "line 7: Invalid pattern 'a(': "},
        {"{{text}} T\n{{choices-from}} exit 3\n", "",
         "line 4: {{choices-from}} command failed with exit code 1:\r\n'exit 3' is not recognized\n"},
        {"{{text}} T\n{{choices-from}} printf \\n \\n\n", "", "line 4: {{choices-from}} command printed no choices\n"},
        // Not attribute lines: a second tag, and a malformed first one, read
        // as they always were.
        {"-x {{default}} Label\n", "", "line 3: Unrecognized keyword 'default'\n"},
        {"{{help Label\n", "", "line 3: Possible unclosed tag (missing }})\n"},
    };
    for (const AttributeCase& c : cases) {
        ErrorRecorder presenter;
        FakeChoicesRunner runner;
        CFormModel model;
        model.m_pChoicesRunner = &runner;
        EXPECT_TRUE(ParseText(model, std::string("tool\ndesc\n") + c.lines)) << c.lines;
        // An invalid pattern's reason is the library's own wording.
        std::string errors = presenter.errors;
        if (errors.find("Invalid pattern") != std::string::npos)
            errors.erase(errors.find("': ") + 3);
        EXPECT_EQ(errors, c.errors) << c.lines;
        if (std::string(c.lines).find("{{radiostart}}") == std::string::npos) {
            EXPECT_EQ(Described(model), c.attributes) << c.lines;
        }
    }
}

// Radio defaults: the member whose default is on, the group decides nothing
// else; a checker that runs nothing keeps a command's choices unknown.
TEST(AttributeLines, RadioDefaultAndUnrunCommand)
{
    ErrorRecorder presenter;
    CFormModel model;
    ASSERT_TRUE(ParseText(model, "tool\ndesc\n{{radiostart}}\n-a A\n-b {{text}} B\n{{default}} on\n{{radioend}}\n"
                                 "{{text}} T\n{{choices-from}} git branch\n"));
    EXPECT_EQ(presenter.errors, "");
    ASSERT_EQ(model.m_controls.size(), 3u);
    EXPECT_FALSE(model.m_controls[0]->m_attributes.IsDefaultOn());
    EXPECT_TRUE(model.m_controls[1]->m_attributes.IsDefaultOn());
    const ControlAttributes& listed = model.m_controls[2]->m_attributes;
    EXPECT_TRUE(listed.HasChoices());
    EXPECT_TRUE(listed.choices.empty());
    EXPECT_EQ(listed.choicesCommand, "git branch");
}

// tavrel-lint and Tavrel read a form alike: for every bundled example and a
// set of awkward forms, the model the real form window holds (with the
// identifiers of the windows it created) equals what `tavrel-lint --model`
// prints for the same file.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "formui/FormHarness.h"
#include "lint/CommandValues.h"
#include "lint/ModelJson.h"

namespace {

std::string LintExe()
{
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path = self;
    path.erase(path.find_last_of('\\'));  // testbin\lint
    path.erase(path.find_last_of('\\'));  // testbin
    path.erase(path.find_last_of('\\'));  // the build folder
    return path + "\\tavrel-lint.exe";
}

std::string LintModel(const std::string& formPath)
{
    // cmd /c strips the outer quotes and keeps the inner ones.
    std::string command = "\"\"" + LintExe() + "\" --model \"" + formPath + "\" 2>NUL\"";
    std::string out;
    FILE* pipe = _popen(command.c_str(), "r");
    if (pipe == nullptr)
        return out;
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, got);
    _pclose(pipe);
    return out;
}

int IdOf(const CWnd* window) { return window != nullptr ? window->GetDlgCtrlID() : kNoControlId; }

// The model of the open form, with the identifiers its windows really have.
nlohmann::ordered_json ModelOfWindow(OpenForm& form)
{
    FormControlIds ids;
    for (const FormControl& c : form.Dialog().m_formControls)
        ids.controls.push_back({ IdOf(c.m_pLabel.get()), IdOf(c.m_pEdit.get()), IdOf(c.m_pButton.get()),
                                 IdOf(c.m_pCombo.get()), IdOf(c.m_pBrowse.get()) });
    return FormModelJson(form.Dialog().m_form, ids, {});
}

void ExpectSameModel(const std::string& name, const std::string& text)
{
    SCOPED_TRACE(name);
    OpenForm form(text);
    nlohmann::ordered_json fromWindow = ModelOfWindow(form);
    nlohmann::ordered_json fromLint =
        nlohmann::ordered_json::parse(LintModel(form.Path()), nullptr, /*allow_exceptions=*/false);
    ASSERT_FALSE(fromLint.is_discarded()) << "tavrel-lint printed no JSON";
    EXPECT_EQ(false, fromLint["generated"]);
    fromLint.erase("generated");
    for (auto& control : fromLint["controls"])
        control.erase("line");
    // The form window expands environment references in the command as it
    // loads; the checker shows the command as written.
    fromLint["command"] = ExpandEnvironmentReferences(fromLint["command"].get<std::string>());
    EXPECT_EQ(JsonText(fromWindow), JsonText(fromLint));
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

TEST(ModelAgreement, BundledExamples)
{
    for (const char* name : { "every-control.gui", "list-folder.gui", "ping.gui", "tall.gui", "robocopy.gui", "ipconfig.gui" }) {
        const std::string text = ReadFile(std::string(TAVREL_EXAMPLES_DIR) + "/" + name);
        ASSERT_FALSE(text.empty()) << name;
        ExpectSameModel(name, text);
    }
}

TEST(ModelAgreement, AwkwardForms)
{
    ExpectSameModel("tags", "%SystemRoot%\\tool.exe --fixed\r\nOdd tags.\r\n{{buttonX}}\r\n{{buttons -a}} A\r\n"
                            "-x {{button y}} Label\r\n{{}} -x Foo\r\n{{}\r\n-n {{required}} Name\r\n"
                            "{{required foo}} X\r\n'' {{dir}} Positional\r\n\"/mode quick\" Quick mode\r\n"
                            "-x{{file}} Glued\r\n");
    ExpectSameModel("groups", "tool\r\n\r\n{{radiostart required}}\r\n--a A\r\n-t {{text}}\r\n{{text}} Not a member\r\n"
                              "{{radiostart}}\r\n-p {{file}} Path\r\n--b B\r\n{{radioend}}\r\n{{radioend}}\r\n"
                              "{{drive}} -d Drive\r\n{{required radiostart}}\r\n-z Z\r\n");
    ExpectSameModel("script", "runner\r\nWith a script.\r\n-v Verbose\r\n{{required newfile}} Out\r\n"
                              "  {{batch cmd}} rest ignored\r\n  echo %1\r\n\r\npause\r\n");
    std::string large = "tool\nPast the old identifier ranges.\n{{radiostart}}\n-n {{text}} N\n{{radioend}}\n";
    for (int i = 0; i < 150; ++i)
        large += "-f" + std::to_string(i) + " {{file}} F\n";
    for (int i = 0; i < 1000; ++i)
        large += "{{button -b" + std::to_string(i) + "}} B\n";
    ExpectSameModel("large", large);
}

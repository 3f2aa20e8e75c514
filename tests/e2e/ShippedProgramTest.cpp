// The program as a release ships it: the bundled example forms open cleanly,
// and a library planted beside a copy of the program is not loaded.

#include <gtest/gtest.h>

#include "e2e/Driver.h"
#include "e2e/E2eExpect.h"

namespace e2e {
namespace {

// TAVREL_EXAMPLES_DIR is the examples folder as Linux sees it; under Wine
// drive Z: is the Linux root.
std::string ExamplesFolder()
{
    std::string path = std::string("Z:") + TAVREL_EXAMPLES_DIR;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

std::vector<std::string> ExampleForms()
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((ExamplesFolder() + "\\*.gui").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
        names.push_back(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

std::string FirstLine(const std::string& path)
{
    std::string line;
    if (FILE* file = fopen(path.c_str(), "rb")) {
        for (int c; (c = fgetc(file)) != EOF && c != '\r' && c != '\n';)
            line += static_cast<char>(c);
        fclose(file);
    }
    return line;
}

TEST(ShippedProgram, EveryBundledExampleFormOpensWithoutAComplaint)
{
    const std::vector<std::string> forms = ExampleForms();
    ASSERT_GE(forms.size(), 4u) << "examples not found in " << ExamplesFolder();
    for (const std::string& name : forms) {
        SCOPED_TRACE(name);
        const std::string path = ExamplesFolder() + "\\" + name;
        TavrelProcess app;
        ASSERT_TRUE(app.Start("\"" + path + "\""));
        // The form is titled with its command, line 1 of the file.
        HWND form = app.WaitForWindow(FirstLine(path));
        ASSERT_NE(form, nullptr) << app.Output();
        EXPECT_TRUE(Contains(app.Output(), "Parsed ")) << app.Output();
        EXPECT_FALSE(Contains(app.Output(), "##ERROR##")) << app.Output();
        EXPECT_FALSE(Contains(app.Output(), "WARNING: ")) << app.Output();
        EXPECT_FALSE(Contains(app.Output(), "ERROR: ")) << app.Output();
        app.Close(form);
        EXPECT_TRUE(app.WaitForExit());
    }
}

TEST(ShippedProgram, TheFirstExampleAUserTriesRuns)
{
    TavrelProcess app;
    ASSERT_TRUE(app.Start("\"" + ExamplesFolder() + "\\list-folder.gui\""));
    HWND form = app.WaitForWindow("cmd /c dir");
    ASSERT_NE(form, nullptr) << app.Output();
    // The required folder's edit box.
    ASSERT_TRUE(SetText(EditBox(form, 0), "C:\\windows"));
    Click(RunButton(form));
    EXPECT_TRUE(app.WaitForOutput("Process exited with code: 0")) << app.Output();
    app.Kill();
}

// Wine, unlike Windows, has libraries of its own that it prefers to files of
// the same name; told to prefer files for one program, it searches as
// Windows does. (Windows ignores this key.)
class PreferLibraryFiles {
public:
    PreferLibraryFiles(const std::string& program, const char* library)
        : m_key("Software\\Wine\\AppDefaults\\" + program)
    {
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, (m_key + "\\DllOverrides").c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                            nullptr, &key, nullptr) == ERROR_SUCCESS) {
            static const char order[] = "native,builtin";
            RegSetValueExA(key, library, 0, REG_SZ, reinterpret_cast<const BYTE*>(order), sizeof order);
            RegCloseKey(key);
        }
    }
    ~PreferLibraryFiles() { RegDeleteTreeA(HKEY_CURRENT_USER, m_key.c_str()); }

private:
    std::string m_key;
};

TEST(ShippedProgram, LibraryPlantedBesideACopyOfTheProgramIsNotLoaded)
{
    TempFolder dir;
    ASSERT_TRUE(dir.Copy(TavrelExePath(), "plantcheck.exe"));
    ASSERT_TRUE(dir.Copy(TestBinFolder() + "..\\planted\\riched20.dll", "riched20.dll"));
    dir.Write("plantcheck.gui", "cmd /c echo\r\nEcho\r\n-v Verbose\r\n");
    const std::string marker = dir.PathOf("planted-library-was-loaded");

    PreferLibraryFiles preferFiles("plantcheck.exe", "riched20");
    TavrelProcess app;
    // Started from the folder too: the current folder is searched as well.
    ASSERT_TRUE(app.Start("", dir.Path(), dir.PathOf("plantcheck.exe")));
    HWND form = app.WaitForWindow("plantcheck");
    ASSERT_NE(form, nullptr) << app.Output();
    // The form has loaded the rich-edit library for its console by now.
    EXPECT_FALSE(FileExists(marker));
    // The real library is there: a run shows its output in a rich edit.
    Click(RunButton(form));
    EXPECT_TRUE(app.WaitForOutput("Process exited with code: 0")) << app.Output();
    app.Kill();
    EXPECT_FALSE(FileExists(marker));
}

}  // namespace
}  // namespace e2e

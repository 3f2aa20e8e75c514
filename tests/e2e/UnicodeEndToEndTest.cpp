// Every language in the real program: forms, folders and files named in
// Chinese and in accented Latin, forms saved in every common encoding, and
// batch forms with non-ASCII values. The test child reports its arguments
// as read from its Unicode command line, as UTF-8 in hex, so that what it
// received is compared byte for byte whatever the console shows.
// (This test program runs with the program's UTF-8 manifest: its own
// strings and window texts are UTF-8.)

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/Driver.h"
#include "e2e/E2eExpect.h"
#include "support/HexBytes.h"

namespace e2e {
namespace {

const char kChinese[] = "\xE8\xA1\xA8\xE5\x8D\x95 \xE6\x95\xB0\xE6\x8D\xAE";   // 表单 数据
const char kAccented[] = "R\xC3\xA9sum\xC3\xA9 \xC3\xA9t\xC3\xA9";                // Résumé été

// The test child as a form's command: it prints "uarg<k>=<hex>" lines.
std::string UnicodeArgsPrinter() { return "\"" + TestBinFolder() + "tavrel_testchild.exe\" uargs"; }

// What the child prints for these arguments, lines ending in LF.
std::string ReceivedAsPrinted(const std::vector<std::string>& arguments)
{
    std::string printed;
    for (size_t k = 0; k < arguments.size(); ++k)
        printed += "uarg" + std::to_string(k + 1) + "=" + HexBytes(arguments[k]) + "\n";
    return printed + "uargs=" + std::to_string(arguments.size()) + "\n";
}

bool EndsWith(const std::string& text, const std::string& suffix)
{
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Presses Run, waits for the console to finish and returns its caption and
// text (LF line ends); closes it.
std::string RunAndRead(TavrelProcess& app, HWND form, std::string* caption = nullptr)
{
    PostClicked(RunButton(form));
    HWND console = app.WaitForWindowWhere([](const WindowInfo& window) {
        return window.title.rfind("Executing: ", 0) == 0 && EndsWith(window.title, " (Completed)");
    });
    if (console == nullptr)
        return "(no completed console window)\n" + app.Output();
    if (caption != nullptr)
        *caption = TextOf(console);
    std::string text = WithLineFeeds(TextOf(OutputOf(console)));
    app.Close(console);
    app.WaitForWindowGone(console);
    return text;
}

void CloseForm(TavrelProcess& app, HWND form)
{
    app.Close(form);
    EXPECT_TRUE(app.WaitForExit());
}

std::wstring Wide(const std::string& utf8)
{
    std::wstring wide(utf8.size(), L'\0');
    wide.resize(static_cast<size_t>(
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], static_cast<int>(wide.size()))));
    return wide;
}

// The text as an editor saves it in UTF-16 with a byte-order mark.
std::string Utf16(const std::string& utf8, bool bigEndian)
{
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (wchar_t unit : Wide(utf8)) {
        char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? std::string{ high, low } : std::string{ low, high };
    }
    return bytes;
}

// The text in the Western European ANSI code page (the test system's).
std::string Windows1252(const std::string& utf8)
{
    std::wstring wide = Wide(utf8);
    std::string bytes(wide.size(), '\0');
    bytes.resize(static_cast<size_t>(WideCharToMultiByte(1252, 0, wide.data(), static_cast<int>(wide.size()), &bytes[0],
                                                         static_cast<int>(bytes.size()), nullptr, nullptr)));
    return bytes;
}

TEST(UnicodeEndToEnd, NamesInAnyLanguageReachTheChildIntact)
{
    for (const std::string name : { kChinese, kAccented }) {
        SCOPED_TRACE(name);
        TempFolder dir;
        const std::string folder = dir.PathOf(name);
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
        const std::string chosen = dir.Write(name + "\\" + name + ".txt", "data");
        const std::string formPath = dir.Write(name + "\\" + name + ".gui",
                                               UnicodeArgsPrinter() + "\r\nNames\r\n{{file}} -f Input\r\n"
                                                                      "{{dir}} -d Folder\r\n{{text}} -t Text\r\n");
        {
            TavrelProcess app;
            ASSERT_TRUE(app.Start("\"" + formPath + "\""));
            HWND form = app.WaitForWindow(UnicodeArgsPrinter());
            ASSERT_NE(form, nullptr) << app.Output();
            EXPECT_TRUE(Contains(app.Output(), "Command line: " + formPath + "\n"));
            ASSERT_TRUE(SetText(EditBox(form, 0), chosen));
            ASSERT_TRUE(SetText(EditBox(form, 1), folder));
            ASSERT_TRUE(SetText(EditBox(form, 2), name));

            std::string caption;
            std::string shown = RunAndRead(app, form, &caption);
            // Validation found the file and the folder: no warning box came.
            EXPECT_TRUE(Contains(shown, ReceivedAsPrinted({ "-f", chosen, "-d", folder, "-t", name }))) << shown;
            EXPECT_TRUE(Contains(caption, "\"" + chosen + "\"")) << caption;
            CloseForm(app, form);
        }
        // A copy of the program named after the form, in that folder, with
        // its settings beside it (flags hidden).
        ASSERT_TRUE(dir.Copy(TavrelExePath(), name + "\\" + name + ".exe"));
        dir.Write(name + "\\tavrel.ini", "[UI]\r\nHideFlags=1\r\n");
        TavrelProcess renamed;
        ASSERT_TRUE(renamed.Start("", folder, folder + "\\" + name + ".exe"));
        HWND form = renamed.WaitForWindow(name);
        ASSERT_NE(form, nullptr) << renamed.Output();
        EXPECT_TRUE(Contains(renamed.Output(), "Found " + formPath + "\n"));
        EXPECT_EQ(TextOf(LabelOf(EditBox(form, 0))), "Input:");
        CloseForm(renamed, form);
    }
}

// The same form saved by different editors: the label shows its words and
// the child receives the flag, character for character.
TEST(UnicodeEndToEnd, FormsInEveryEncodingShowAndRunTheirText)
{
    const std::string flag = "--gr\xC3\xB6\xC3\x9F" "e";           // --größe
    const std::string label = "St\xC3\xA4rke w\xC3\xA4hlen";         // Stärke wählen
    const std::string text = UnicodeArgsPrinter() + "\r\nDescription\r\n" + flag + " " + label + "\r\n";
    const std::vector<std::pair<std::string, std::string>> files = {
        { "utf8-mark.gui", "\xEF\xBB\xBF" + text },
        { "utf16le.gui", Utf16(text, false) },
        { "utf16be.gui", Utf16(text, true) },
        { "ansi.gui", Windows1252(text) },
    };
    TempFolder dir;
    for (const auto& file : files) {
        SCOPED_TRACE(file.first);
        TavrelProcess app;
        ASSERT_TRUE(app.Start("\"" + dir.Write(file.first, file.second) + "\""));
        HWND form = app.WaitForWindow(UnicodeArgsPrinter());
        ASSERT_NE(form, nullptr) << app.Output();
        HWND checkbox = CheckBox(form, 0);
        EXPECT_TRUE(EndsWith(TextOf(checkbox), label)) << TextOf(checkbox);
        ASSERT_TRUE(SetCheck(checkbox, true));
        std::string shown = RunAndRead(app, form);
        EXPECT_TRUE(Contains(shown, ReceivedAsPrinted({ flag }))) << shown;
        CloseForm(app, form);
    }
}

TEST(UnicodeEndToEnd, BatchFormsKeepNonAsciiNamesAndValues)
{
    TempFolder dir;
    const std::string folder = dir.PathOf(kChinese);
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const std::string profile = "R\xC3\xA9sum\xC3\xA9_\xE6\x8A\xA5.profile";  // Résumé_报.profile
    dir.Write(std::string(kChinese) + "\\" + profile, "");
    // Saved with a byte-order mark: still a batch form. Its output names a
    // file found in a folder named in Chinese.
    const std::string generated = dir.Write("generated.gui", "\xEF\xBB\xBF{{batch gui}}\r\n@echo off\r\n"
                                                             "echo " + UnicodeArgsPrinter() + "\r\necho Profiles\r\n"
                                                             "for %%f in (*.profile) do echo \"--load=%%f\" Load %%f\r\n");
    {
        TavrelProcess app;
        ASSERT_TRUE(app.Start("\"" + generated + "\"", folder));
        HWND form = app.WaitForWindow(UnicodeArgsPrinter());
        ASSERT_NE(form, nullptr) << app.Output();
        HWND checkbox = CheckBox(form, 0);
        EXPECT_TRUE(EndsWith(TextOf(checkbox), "Load " + profile)) << TextOf(checkbox);
        ASSERT_TRUE(SetCheck(checkbox, true));
        std::string shown = RunAndRead(app, form);
        EXPECT_TRUE(Contains(shown, ReceivedAsPrinted({ "--load=" + profile }))) << shown;
        CloseForm(app, form);
    }
    // An embedded script hands a typed value on to its command.
    const std::string value = "Gr\xC3\xBC\xC3\x9F" "e " + std::string(kChinese);
    const std::string embedded = dir.Write("embedded.gui", "mybatch\r\nValues\r\n-v {{text}} Value\r\n{{batch cmd}}\r\n"
                                                           "@" + UnicodeArgsPrinter() + " %*\r\n");
    TavrelProcess app;
    ASSERT_TRUE(app.Start("\"" + embedded + "\""));
    HWND form = app.WaitForWindow("mybatch");
    ASSERT_NE(form, nullptr) << app.Output();
    ASSERT_TRUE(SetText(EditBox(form, 0), value));
    std::string shown = RunAndRead(app, form);
    EXPECT_TRUE(Contains(shown, ReceivedAsPrinted({ "-v", value }))) << shown;
    CloseForm(app, form);
}

// The error window lists a UTF-16 form readably, numbered as an editor
// numbers it; a file holding a NUL byte is refused at that line.
TEST(UnicodeEndToEnd, ErrorListingIsReadableAndANulByteIsAFormError)
{
    const std::string entry = "Entr\xC3\xA9" "e \xE4\xB8\xAD";  // Entrée 中
    const std::vector<std::pair<std::string, std::string>> cases = {
        { Utf16("outil\r\n" + entry + "\r\n-a {{Texte}} " + entry + "\r\n", false),
          "01: outil\r\n02: " + entry + "\r\n03: -a {{Texte}} " + entry +
              "\r\n>>> ERROR AT LINE 3: Unrecognized keyword 'Texte'\r\n" },
        { std::string("tool\r\nA tool\r\n-a\0x First\r\n-b Second\r\n", 37),
          "01: tool\r\n02: A tool\r\n03: -a<NUL>x First\r\n"
          ">>> ERROR AT LINE 3: Line contains a NUL byte: a form definition must be a text file\r\n" },
    };
    TempFolder dir;
    for (const auto& c : cases) {
        TavrelProcess app;
        ASSERT_TRUE(app.Start("\"" + dir.Write("error.gui", c.first) + "\""));
        HWND window = app.WaitForWindow("Parse Error at Line 3");
        ASSERT_NE(window, nullptr) << app.Output();
        EXPECT_EQ(TextOf(OutputOf(window)), c.second);
        app.Close(window);
        EXPECT_TRUE(app.WaitForExit());
    }
}

}  // namespace
}  // namespace e2e

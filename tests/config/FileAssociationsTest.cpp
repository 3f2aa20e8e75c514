#include "config/FileAssociations.h"

#include <gtest/gtest.h>

#include "common/Diag.h"
#include "config/BoxRecorder.h"
#include "config/RegistryTestKeys.h"

namespace {

// A file type of the tests' own, so that the real .gui registration of the
// prefix is not touched; the application key has a fixed name and is
// cleaned like the rest.
const char kExtension[] = ".tavreltest";
const char kProgId[] = "tavreltest.form";
const std::string kExtensionKey = std::string("Software\\Classes\\") + kExtension;
const std::string kProgIdKey = std::string("Software\\Classes\\") + kProgId;
const std::string kCommandKey = kProgIdKey + "\\shell\\open\\command";
const std::string kApplicationKey = "Software\\Classes\\Applications\\tavrel.exe";
const std::string kUserChoiceKey =
    std::string("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\") + kExtension;

AssociationHost Host(const std::string& path, DWORD major, DWORD minor)
{
    AssociationHost host;
    host.modulePath = path;
    host.majorVersion = major;
    host.minorVersion = minor;
    return host;
}

class AssociateExtensionTest : public ::testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    static void Clean()
    {
        RemoveTree(HKEY_CURRENT_USER, kExtensionKey);
        RemoveTree(HKEY_CURRENT_USER, kProgIdKey);
        RemoveTree(HKEY_CURRENT_USER, kApplicationKey);
        RemoveTree(HKEY_CURRENT_USER, kUserChoiceKey);
        RemoveTree(HKEY_LOCAL_MACHINE, kProgIdKey);
    }

    DiagCapture diag;
    BoxRecorder boxes;
};

TEST_F(AssociateExtensionTest, FreshRegistrationBeforeWindows10TracesEveryStep)
{
    AssociateExtension(kExtension, kProgId, Host("C:\\Tools\\tavrel.exe", 6, 1));

    EXPECT_EQ("AssociateExtension: Registering .tavreltest -> \"C:\\Tools\\tavrel.exe\" \"%1\"\n"
              "AssociateExtension: Pre-Windows 10 detected (v6.1) - using traditional registration\n"
              "AssociateExtension: Cleaned old extension key\n"
              "AssociateExtension: Cleaned old ProgID structure\n"
              "AssociateExtension: Set .tavreltest -> tavreltest.form\n"
              "AssociateExtension: Set command -> \"C:\\Tools\\tavrel.exe\" \"%1\"\n"
              "AssociateExtension: Verification successful: \"C:\\Tools\\tavrel.exe\" \"%1\"\n",
              diag.Text());
    EXPECT_EQ(kProgId, ValueText(HKEY_CURRENT_USER, kExtensionKey));
    EXPECT_EQ("\"C:\\Tools\\tavrel.exe\" \"%1\"", ValueText(HKEY_CURRENT_USER, kCommandKey));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kExtensionKey + "\\OpenWithProgids"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kApplicationKey));

    ASSERT_EQ(1u, boxes.boxes.size());
    EXPECT_EQ(".tavreltest files are now associated with this copy of Tavrel.\n\nPath: C:\\Tools\\tavrel.exe",
              boxes.boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONINFORMATION), boxes.boxes[0].type);
}

TEST_F(AssociateExtensionTest, Windows10AddsApplicationAndOpenWithEntries)
{
    AssociateExtension(kExtension, kProgId, Host("C:\\Tools\\tavrel.exe", 10, 0));

    EXPECT_EQ("AssociateExtension: Registering .tavreltest -> \"C:\\Tools\\tavrel.exe\" \"%1\"\n"
              "AssociateExtension: Windows 10+ detected - using enhanced registration\n"
              "AssociateExtension: Registered as Application\n"
              "AssociateExtension: Cleaned old extension key\n"
              "AssociateExtension: Cleaned old ProgID structure\n"
              "AssociateExtension: Set .tavreltest -> tavreltest.form\n"
              "AssociateExtension: Added OpenWithProgids entry\n"
              "AssociateExtension: Set command -> \"C:\\Tools\\tavrel.exe\" \"%1\"\n"
              "AssociateExtension: Verification successful: \"C:\\Tools\\tavrel.exe\" \"%1\"\n",
              diag.Text());
    EXPECT_EQ("\"C:\\Tools\\tavrel.exe\" \"%1\"",
              ValueText(HKEY_CURRENT_USER, kApplicationKey + "\\shell\\open\\command"));
    DWORD type = 0, size = 99;
    ASSERT_TRUE(ValueTypeAndSize(HKEY_CURRENT_USER, kExtensionKey + "\\OpenWithProgids", kProgId, &type, &size));
    EXPECT_EQ(static_cast<DWORD>(REG_NONE), type);
    EXPECT_EQ(0u, size);

    // No per-user choice: the short note.
    ASSERT_EQ(1u, boxes.boxes.size());
    EXPECT_EQ(".tavreltest files are now associated with this copy of Tavrel.\n\nPath: C:\\Tools\\tavrel.exe",
              boxes.boxes[0].text);
}

TEST_F(AssociateExtensionTest, UserChoiceOnWindows10GivesTheLongNote)
{
    ASSERT_TRUE(PutText(HKEY_CURRENT_USER, kUserChoiceKey + "\\UserChoice", "ProgId", "OtherEditor.form"));

    AssociateExtension(kExtension, kProgId, Host("C:\\Tools\\tavrel.exe", 10, 0));

    EXPECT_NE(std::string::npos, diag.Text().find("AssociateExtension: Windows 10+ detected - using enhanced registration\n"
                                                  "AssociateExtension: Found UserChoice: OtherEditor.form\n"
                                                  "AssociateExtension: UserChoice exists - will use OpenWithProgids method\n"
                                                  "AssociateExtension: Registered as Application\n"));
    ASSERT_EQ(1u, boxes.boxes.size());
    EXPECT_EQ(".tavreltest files have been registered with Tavrel.\n\nPath: C:\\Tools\\tavrel.exe\n\n"
              "Note: Windows has a user preference set for .tavreltest files. If double-clicking doesn't work, "
              "right-click a .tavreltest file, choose 'Open with', select Tavrel, and check 'Always use this app'.",
              boxes.boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONINFORMATION), boxes.boxes[0].type);
    // The user's choice is only read.
    EXPECT_EQ("OtherEditor.form", ValueText(HKEY_CURRENT_USER, kUserChoiceKey + "\\UserChoice", "ProgId"));
}

TEST_F(AssociateExtensionTest, UserChoiceBeforeWindows10IsIgnored)
{
    ASSERT_TRUE(PutText(HKEY_CURRENT_USER, kUserChoiceKey + "\\UserChoice", "ProgId", "OtherEditor.form"));

    AssociateExtension(kExtension, kProgId, Host("C:\\Tools\\tavrel.exe", 6, 3));

    EXPECT_NE(std::string::npos, diag.Text().find("(v6.3)"));
    EXPECT_EQ(std::string::npos, diag.Text().find("UserChoice"));
    ASSERT_EQ(1u, boxes.boxes.size());
    EXPECT_EQ(0u, boxes.boxes[0].text.find(".tavreltest files are now associated"));
}

TEST_F(AssociateExtensionTest, EarlierRegistrationIsRemovedWithAllItsSubkeys)
{
    ASSERT_TRUE(PutText(HKEY_CURRENT_USER, kExtensionKey, nullptr, "stale.form"));
    ASSERT_TRUE(PutText(HKEY_CURRENT_USER, kExtensionKey, "Content Type", "text/stale"));
    ASSERT_TRUE(PutText(HKEY_CURRENT_USER, kExtensionKey + "\\OpenWithProgids", "stale.form", ""));
    ASSERT_TRUE(PutText(HKEY_CURRENT_USER, kExtensionKey + "\\ShellEx\\{abc}\\deeper", nullptr, "x"));
    ASSERT_TRUE(PutText(HKEY_CURRENT_USER, kProgIdKey + "\\shell\\edit\\command", nullptr, "notepad \"%1\""));
    ASSERT_TRUE(PutText(HKEY_CURRENT_USER, kCommandKey, nullptr, "old.exe \"%1\""));

    AssociateExtension(kExtension, kProgId, Host("C:\\Tools\\tavrel.exe", 6, 1));

    EXPECT_NE(std::string::npos, diag.Text().find("AssociateExtension: Cleaned old extension key\n"
                                                  "AssociateExtension: Cleaned old ProgID structure\n"));
    EXPECT_EQ(kProgId, ValueText(HKEY_CURRENT_USER, kExtensionKey));
    EXPECT_EQ("<missing>", ValueText(HKEY_CURRENT_USER, kExtensionKey, "Content Type"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kExtensionKey + "\\OpenWithProgids"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kExtensionKey + "\\ShellEx"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kProgIdKey + "\\shell\\edit"));
    EXPECT_EQ("\"C:\\Tools\\tavrel.exe\" \"%1\"", ValueText(HKEY_CURRENT_USER, kCommandKey));
}

TEST_F(AssociateExtensionTest, PathWithSpacesIsQuotedAsOneArgument)
{
    const std::string path = "C:\\Program Files\\My Tools\\tavrel.exe";
    AssociateExtension(kExtension, kProgId, Host(path, 10, 0));

    const std::string command = "\"C:\\Program Files\\My Tools\\tavrel.exe\" \"%1\"";
    EXPECT_EQ(command, OpenCommandFor(path));
    EXPECT_EQ(command, ValueText(HKEY_CURRENT_USER, kCommandKey));
    EXPECT_EQ(command, ValueText(HKEY_CURRENT_USER, kApplicationKey + "\\shell\\open\\command"));
    EXPECT_NE(std::string::npos, diag.Text().find("AssociateExtension: Registering .tavreltest -> " + command + "\n"));
}

// The registry holds text as UTF-16: the shell must find the same folder
// name the program was started from, accents and Chinese included.
TEST_F(AssociateExtensionTest, FolderNamedInAnyLanguageIsRegisteredIntact)
{
    const std::string path = "C:\\Werkzeuge f\xC3\xBCr \xE4\xB8\xAD\xE6\x96\x87\\tavrel.exe";  // für 中文
    AssociateExtension(kExtension, kProgId, Host(path, 10, 0));

    wchar_t stored[128] = {};
    DWORD size = sizeof stored;
    ASSERT_EQ(ERROR_SUCCESS, RegGetValueW(HKEY_CURRENT_USER, L"Software\\Classes\\tavreltest.form\\shell\\open\\command",
                                          nullptr, RRF_RT_REG_SZ, nullptr, stored, &size));
    EXPECT_EQ(std::wstring(L"\"C:\\Werkzeuge f\u00FCr \u4E2D\u6587\\tavrel.exe\" \"%1\""), stored);
    EXPECT_NE(std::string::npos, diag.Text().find("AssociateExtension: Verification successful: " + OpenCommandFor(path)));
    EXPECT_EQ(std::string::npos, diag.Text().find("doesn't match"));
}

TEST_F(AssociateExtensionTest, MachineWideRegistrationIsWarnedAboutAndOverriddenForTheUser)
{
    if (!PutText(HKEY_LOCAL_MACHINE, kCommandKey, nullptr, "\"C:\\Old\\viewer.exe\" \"%1\""))
        GTEST_SKIP() << "HKEY_LOCAL_MACHINE is not writable here";

    AssociateExtension(kExtension, kProgId, Host("C:\\Tools\\tavrel.exe", 6, 1));

    EXPECT_NE(std::string::npos,
              diag.Text().find("AssociateExtension: WARNING - HKLM registration exists: \"C:\\Old\\viewer.exe\" \"%1\"\n"
                               "AssociateExtension: Cleaned old extension key\n"));
    ASSERT_EQ(2u, boxes.boxes.size());
    EXPECT_EQ("Warning: A system-wide registration exists in HKEY_LOCAL_MACHINE:\n\n\"C:\\Old\\viewer.exe\" \"%1\"\n\n"
              "This may override your user registration. You may need administrator rights to change it.",
              boxes.boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), boxes.boxes[0].type);
    EXPECT_EQ(0u, boxes.boxes[1].text.find(".tavreltest files are now associated"));
    EXPECT_EQ("\"C:\\Tools\\tavrel.exe\" \"%1\"", ValueText(HKEY_CURRENT_USER, kCommandKey));
    EXPECT_EQ("\"C:\\Old\\viewer.exe\" \"%1\"", ValueText(HKEY_LOCAL_MACHINE, kCommandKey));
}

// Key names are limited to 255 characters: a longer name cannot be created,
// which is how these tests reach the failure paths with the real registry.
TEST_F(AssociateExtensionTest, ExtensionKeyThatCannotBeCreatedStopsWithAnErrorBox)
{
    const std::string extension = "." + std::string(300, 'x');
    AssociateExtension(extension, kProgId, Host("C:\\Tools\\tavrel.exe", 6, 1));

    const std::string& text = diag.Text();
    size_t failure = text.find("AssociateExtension: Failed to create ext key (err ");
    ASSERT_NE(std::string::npos, failure) << text;
    int code = atoi(text.c_str() + failure + strlen("AssociateExtension: Failed to create ext key (err "));
    EXPECT_NE(0, code);
    EXPECT_EQ(std::string::npos, text.find("Set command"));
    ASSERT_EQ(1u, boxes.boxes.size());
    EXPECT_EQ("Failed to create registry key for " + extension + "\n\nError code: " + std::to_string(code),
              boxes.boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONSTOP), boxes.boxes[0].type);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kProgIdKey));
}

TEST_F(AssociateExtensionTest, CommandKeyThatCannotBeCreatedStopsAfterTheExtensionWasWritten)
{
    const std::string progId = std::string(300, 'p');
    AssociateExtension(kExtension, progId, Host("C:\\Tools\\tavrel.exe", 6, 1));

    const std::string& text = diag.Text();
    EXPECT_NE(std::string::npos, text.find("AssociateExtension: Set .tavreltest -> " + progId + "\n"));
    size_t failure = text.find("AssociateExtension: Failed to create command key (err ");
    ASSERT_NE(std::string::npos, failure) << text;
    int code = atoi(text.c_str() + failure + strlen("AssociateExtension: Failed to create command key (err "));
    EXPECT_EQ(std::string::npos, text.find("Verification"));
    ASSERT_EQ(1u, boxes.boxes.size());
    EXPECT_EQ("Failed to create open command key\n\nError code: " + std::to_string(code), boxes.boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONSTOP), boxes.boxes[0].type);
    // What was written before the failure stays.
    EXPECT_EQ(progId, ValueText(HKEY_CURRENT_USER, kExtensionKey));
}

}  // namespace

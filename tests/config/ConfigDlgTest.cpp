#include "config/ConfigDlg.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "common/Diag.h"
#include "common/DpiScale.h"
#include "config/BoxRecorder.h"
#include "framework/ModulePath.h"
#include "config/RegistryTestKeys.h"
#include "config/Settings.h"
#include "resource.h"
#include "support/DpiChecks.h"
#include "support/WindowQueries.h"
#include "tavrel_version.h"

namespace {

// This test program has a folder of its own: the tavrel.ini beside it is
// the dialog's settings file, and no manual.html sits there.
std::string SettingsFile() { return GetSettingsPath(); }

std::string FileContent(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void WriteSettingsFile(const std::string& content) { std::ofstream(SettingsFile(), std::ios::binary) << content; }

int CheckState(const CDialog& dialog, int id) { return (int)SendMessageA(dialog.GetDlgItem(id), BM_GETCHECK, 0, 0); }
void SetCheckState(const CDialog& dialog, int id, int state) { SendMessageA(dialog.GetDlgItem(id), BM_SETCHECK, state, 0); }
void Click(const CDialog& dialog, int id) { SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)dialog.GetDlgItem(id)); }

class ConfigDlgTest : public ::testing::Test {
protected:
    void SetUp() override { DeleteFileA(SettingsFile().c_str()); }
    void TearDown() override
    {
        if (dialog.IsWindow())
            dialog.DestroyWindow();
        DeleteFileA(SettingsFile().c_str());
    }
    // Hidden and modeless: OnInitDialog has run when this returns.
    void Open() { ASSERT_TRUE(dialog.Create()); }

    DiagCapture diag;
    BoxRecorder boxes;
    ConfigDlg dialog;
};

TEST_F(ConfigDlgTest, WithoutSettingsFileStartsFromTheDefaults)
{
    Open();
    EXPECT_EQ(BST_CHECKED, CheckState(dialog, IDC_GROW_LEFT));
    EXPECT_EQ(BST_CHECKED, CheckState(dialog, IDC_GROW_RIGHT));
    EXPECT_EQ(BST_UNCHECKED, CheckState(dialog, IDC_HIDE_FLAGS));
    EXPECT_EQ(BST_CHECKED, CheckState(dialog, IDC_HIDE_RUN_WITH_BUTTONS));
    EXPECT_EQ(BST_CHECKED, CheckState(dialog, IDC_REMEMBER_VALUES));
    // The box added last sits below every other control, inside the dialog.
    RECT client, lowest, added;
    dialog.GetClientRect(&client);
    ::GetWindowRect(dialog.GetDlgItem(IDC_HIDE_RUN_WITH_BUTTONS), &lowest);
    ::GetWindowRect(dialog.GetDlgItem(IDC_REMEMBER_VALUES), &added);
    ::MapWindowPoints(nullptr, dialog.m_hWnd, reinterpret_cast<POINT*>(&lowest), 2);
    ::MapWindowPoints(nullptr, dialog.m_hWnd, reinterpret_cast<POINT*>(&added), 2);
    EXPECT_GE(added.top, lowest.bottom);
    EXPECT_LE(added.bottom, client.bottom);
    // Opening alone writes nothing.
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(SettingsFile().c_str()));
}

TEST_F(ConfigDlgTest, StartsFromTheStoredValuesAnyNonZeroBeingOn)
{
    WriteSettingsFile("[Console]\r\nGrowLeft=0\r\nGrowRight=7\r\n[UI]\r\nHideFlags=2\r\nHideRunWithButtons=no\r\n"
                      "RememberValues=0\r\n");
    Open();
    EXPECT_EQ(BST_UNCHECKED, CheckState(dialog, IDC_GROW_LEFT));
    EXPECT_EQ(BST_CHECKED, CheckState(dialog, IDC_GROW_RIGHT));
    EXPECT_EQ(BST_CHECKED, CheckState(dialog, IDC_HIDE_FLAGS));
    EXPECT_EQ(BST_UNCHECKED, CheckState(dialog, IDC_HIDE_RUN_WITH_BUTTONS));
    EXPECT_EQ(BST_UNCHECKED, CheckState(dialog, IDC_REMEMBER_VALUES));
}

TEST_F(ConfigDlgTest, CloseButtonSavesEverySetting)
{
    Open();
    SetCheckState(dialog, IDC_GROW_LEFT, BST_UNCHECKED);
    SetCheckState(dialog, IDC_HIDE_FLAGS, BST_CHECKED);
    Click(dialog, IDOK);

    EXPECT_EQ("[Console]\r\nGrowLeft=0\r\nGrowRight=1\r\n[UI]\r\nHideFlags=1\r\nHideRunWithButtons=1\r\n"
              "RememberValues=1\r\n",
              FileContent(SettingsFile()));
    EXPECT_FALSE(dialog.IsWindowVisible());
}

TEST_F(ConfigDlgTest, QuickStartIsLoadedFromTheResourcesAndReadOnly)
{
    Open();
    HWND control = dialog.GetDlgItem(IDC_QUICKSTART);
    ASSERT_NE(nullptr, control);

    std::string shown = TextOf(control);
    EXPECT_EQ(0u, shown.find("Tavrel v" TAVREL_VERSION " Quick Start")) << shown;
    EXPECT_NE(std::string::npos, shown.find("File Types"));
    EXPECT_NE(std::string::npos, shown.find("Console Window"));
    EXPECT_NE(std::string::npos, shown.find("For more detail, click Open Manual above."));
    EXPECT_EQ(std::string::npos, shown.find("\\rtf"));  // formatted, not shown as source

    HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(IDR_QUICKSTART), (LPCSTR)RT_RCDATA);
    ASSERT_NE(nullptr, resource);
    EXPECT_EQ("ConfigDlg: RTF streamed OK (" + std::to_string(SizeofResource(nullptr, resource)) + " bytes)\n",
              diag.Text());

    // Typing changes nothing.
    EXPECT_TRUE(GetWindowLongA(control, GWL_STYLE) & ES_READONLY);
    int before = GetWindowTextLengthA(control);
    SendMessageA(control, WM_CHAR, 'x', 0);
    SendMessageA(control, WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ(before, GetWindowTextLengthA(control));
}

TEST_F(ConfigDlgTest, MissingManualShowsWhereItWasExpected)
{
    Open();
    const std::string expected = PathBesideModule(CurrentModulePath(), "manual.html");
    ASSERT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(expected.c_str()));

    Click(dialog, IDC_OPEN_MANUAL);

    ASSERT_EQ(1u, boxes.boxes.size());
    EXPECT_EQ("Could not open manual.\n\nExpected location:\n" + expected, boxes.boxes[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), boxes.boxes[0].type);
}

// The association buttons register the real types of the program; the
// keys are removed again afterwards.
class ConfigDlgAssociationTest : public ConfigDlgTest {
protected:
    void SetUp() override
    {
        ConfigDlgTest::SetUp();
        Clean();
    }
    void TearDown() override
    {
        Clean();
        ConfigDlgTest::TearDown();
    }
    static void Clean()
    {
        for (const char* key : {".gui", ".gui-admin", "tavrel.gui", "tavrel.gui-admin", "Applications\\tavrel.exe"})
            RemoveTree(HKEY_CURRENT_USER, std::string("Software\\Classes\\") + key);
    }
};

TEST_F(ConfigDlgAssociationTest, EachButtonRegistersItsOwnFileType)
{
    Open();
    const std::string command = "\"" + CurrentModulePath() + "\" \"%1\"";

    Click(dialog, IDC_ASSOC_GUI);
    EXPECT_EQ("tavrel.gui", ValueText(HKEY_CURRENT_USER, "Software\\Classes\\.gui"));
    EXPECT_EQ(command, ValueText(HKEY_CURRENT_USER, "Software\\Classes\\tavrel.gui\\shell\\open\\command"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\Classes\\.gui-admin"));

    Click(dialog, IDC_ASSOC_GUI_ADMIN);
    EXPECT_EQ("tavrel.gui-admin", ValueText(HKEY_CURRENT_USER, "Software\\Classes\\.gui-admin"));
    EXPECT_EQ(command, ValueText(HKEY_CURRENT_USER, "Software\\Classes\\tavrel.gui-admin\\shell\\open\\command"));

    ASSERT_EQ(2u, boxes.boxes.size());
    EXPECT_EQ(0u, boxes.boxes[0].text.find(".gui files "));
    EXPECT_EQ(0u, boxes.boxes[1].text.find(".gui-admin files "));
    // Settings are not touched by registering.
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(SettingsFile().c_str()));
}

// Closing by keyboard or close box goes through the dialog's modal loop, so
// these run the dialog modally and close it from inside.
class ScriptedConfigDlg : public ConfigDlg {
public:
    enum class Close { Escape, CloseBox };
    explicit ScriptedConfigDlg(Close how) : m_how(how) {}

protected:
    BOOL OnInitDialog() override
    {
        BOOL result = ConfigDlg::OnInitDialog();
        m_growRight.SetCheck(BST_UNCHECKED);
        m_hideRunWithButtons.SetCheck(BST_UNCHECKED);
        m_rememberValues.SetCheck(BST_UNCHECKED);
        if (m_how == Close::Escape) {
            HWND closeButton = GetDlgItem(IDOK);
            ::PostMessageA(closeButton, WM_KEYDOWN, VK_ESCAPE, 0);
            ::PostMessageA(closeButton, WM_KEYUP, VK_ESCAPE, 0);
        } else {
            PostMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        return result;
    }

private:
    Close m_how;
};

TEST_F(ConfigDlgTest, EscapeOrCloseBoxAfterUntickingStoresZero)
{
    for (auto how : {ScriptedConfigDlg::Close::Escape, ScriptedConfigDlg::Close::CloseBox}) {
        DeleteFileA(SettingsFile().c_str());
        ScriptedConfigDlg modal(how);
        EXPECT_EQ(IDOK, modal.DoModal());
        EXPECT_EQ("[Console]\r\nGrowLeft=1\r\nGrowRight=0\r\n[UI]\r\nHideFlags=0\r\nHideRunWithButtons=0\r\n"
                  "RememberValues=0\r\n",
                  FileContent(SettingsFile()));
    }
}

}  // namespace

TEST_F(ConfigDlgTest, EveryScaleShowsEveryTextWholeAndNoControlOverAnother)
{
    for (int dpi : { 96, 120, 144, 192 }) {
        SCOPED_TRACE("dpi " + std::to_string(dpi));
        Open();
        const int openedAt = dialog.m_nDpi;
        const HWND close = dialog.GetDlgItem(IDOK);
        const SIZE textBefore = TextSizeIn(close, "Close", 0);
        const RECT before = RectIn(close, dialog.m_hWnd);
        MoveToMonitorOfDpi(dialog.m_hWnd, openedAt, dpi);
        EXPECT_EQ(dpi, dialog.m_nDpi);
        // Text and controls grow with the scale, the text in a font made
        // for it.
        EXPECT_NEAR(RescaleDpi(textBefore.cy, openedAt, dpi), TextSizeIn(close, "Close", 0).cy, 2);
        const RECT after = RectIn(close, dialog.m_hWnd);
        EXPECT_NEAR(RescaleDpi(before.right - before.left, openedAt, dpi), after.right - after.left, 1);
        ExpectChildrenWholeAndApart(dialog.m_hWnd, dpi);
        dialog.DestroyWindow();
    }
}

namespace {

// A settings file that cannot be written (as in a folder the user may not
// write to; here another program holds it open without sharing): closing
// says so once, and still closes.
TEST_F(ConfigDlgTest, SettingsThatCannotBeSavedAreReportedOnClose)
{
    WriteSettingsFile("[Console]\r\nGrowLeft=1\r\n");
    Open();
    SetCheckState(dialog, IDC_GROW_LEFT, BST_UNCHECKED);
    HANDLE held = CreateFileA(SettingsFile().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Click(dialog, IDOK);
    CloseHandle(held);
    EXPECT_EQ("[Console]\r\nGrowLeft=1\r\n", FileContent(SettingsFile()));

    ASSERT_EQ(1u, boxes.boxes.size());
    EXPECT_EQ("The settings could not be saved to\n" + SettingsFile() +
                  "\n\nThe file or its folder may be read-only. The settings in effect before stay in effect.",
              boxes.boxes[0].text);
    EXPECT_EQ((UINT)(MB_OK | MB_ICONEXCLAMATION), boxes.boxes[0].type);
    EXPECT_FALSE(dialog.IsWindowVisible());
}

}  // namespace

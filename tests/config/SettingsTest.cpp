#include "config/Settings.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

// A fresh folder in the temporary directory per test, removed afterwards.
class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(sizeof(temp), temp);
        char name[64];
        snprintf(name, sizeof(name), "tavrel-settings-%lu-%lu", GetCurrentProcessId(), GetTickCount());
        folder = std::string(temp) + name + "\\";
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
        path = folder + "tavrel.ini";
    }
    void TearDown() override
    {
        DeleteFileA(path.c_str());
        RemoveDirectoryA(path.c_str());
        RemoveDirectoryA(folder.c_str());
    }

    void WriteFile(const std::string& content)
    {
        std::ofstream(path, std::ios::binary) << content;
    }
    std::string FileContent(const std::string& file) const
    {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream content;
        content << in.rdbuf();
        return content.str();
    }

    std::string folder;
    std::string path;
};

TEST(SettingsPathTest, FileSitsBesideTheModule)
{
    EXPECT_EQ("C:\\Tools\\Tavrel\\tavrel.ini", SettingsPathBeside("C:\\Tools\\Tavrel\\backup.exe"));
    EXPECT_EQ("tavrel.exetavrel.ini", SettingsPathBeside("tavrel.exe"));

    char module[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, module, sizeof(module));
    std::string own(module, length);
    EXPECT_EQ(own.substr(0, own.rfind('\\') + 1) + "tavrel.ini", GetSettingsPath());
}

TEST_F(SettingsFileTest, MissingFileGivesEveryDefault)
{
    EXPECT_EQ(1, ReadSetting(path, kGrowLeftSetting));
    EXPECT_EQ(1, ReadSetting(path, kGrowRightSetting));
    EXPECT_EQ(0, ReadSetting(path, kHideFlagsSetting));
    EXPECT_EQ(1, ReadSetting(path, kHideRunWithButtonsSetting));
}

TEST_F(SettingsFileTest, MissingKeyOrSectionGivesItsDefault)
{
    WriteFile("[Console]\r\nGrowLeft=0\r\n");
    EXPECT_EQ(0, ReadSetting(path, kGrowLeftSetting));
    EXPECT_EQ(1, ReadSetting(path, kGrowRightSetting));
    EXPECT_EQ(0, ReadSetting(path, kHideFlagsSetting));
    EXPECT_EQ(1, ReadSetting(path, kHideRunWithButtonsSetting));
}

TEST_F(SettingsFileTest, ValuesAreReadAsLeadingDigits)
{
    WriteFile("[Console]\r\nGrowLeft=2\r\nGrowRight=yes\r\n[UI]\r\nHideFlags=3rd\r\nHideRunWithButtons=0\r\n");
    EXPECT_EQ(2, ReadSetting(path, kGrowLeftSetting));
    EXPECT_EQ(0, ReadSetting(path, kGrowRightSetting));
    EXPECT_EQ(3, ReadSetting(path, kHideFlagsSetting));
    EXPECT_EQ(0, ReadSetting(path, kHideRunWithButtonsSetting));
}

TEST_F(SettingsFileTest, WritersProduceTheFileSectionBySection)
{
    EXPECT_TRUE(WriteSetting(path, kGrowLeftSetting, true));
    EXPECT_TRUE(WriteSetting(path, kGrowRightSetting, true));
    EXPECT_TRUE(WriteSetting(path, kHideFlagsSetting, false));
    EXPECT_TRUE(WriteSetting(path, kHideRunWithButtonsSetting, true));
    EXPECT_EQ("[Console]\r\nGrowLeft=1\r\nGrowRight=1\r\n[UI]\r\nHideFlags=0\r\nHideRunWithButtons=1\r\n",
              FileContent(path));
    EXPECT_EQ(0, ReadSetting(path, kHideFlagsSetting));
}

TEST_F(SettingsFileTest, RewritingOneKeyKeepsTheOthersAndIsReadAtOnce)
{
    WriteFile("[Console]\r\nGrowLeft=1\r\nGrowRight=1\r\n");
    EXPECT_EQ(1, ReadSetting(path, kGrowRightSetting));
    EXPECT_TRUE(WriteSetting(path, kGrowRightSetting, false));
    EXPECT_EQ(0, ReadSetting(path, kGrowRightSetting));
    EXPECT_EQ(1, ReadSetting(path, kGrowLeftSetting));
    EXPECT_EQ("[Console]\r\nGrowLeft=1\r\nGrowRight=0\r\n", FileContent(path));

    // Another copy of the program changes the file: the next read sees it.
    Sleep(20);
    WriteFile("[Console]\r\nGrowLeft=0\r\nGrowRight=0\r\n");
    EXPECT_EQ(0, ReadSetting(path, kGrowLeftSetting));
}

TEST_F(SettingsFileTest, WriteIntoMissingFolderFailsAndCreatesNothing)
{
    std::string inMissingFolder = folder + "absent\\tavrel.ini";
    EXPECT_FALSE(WriteSetting(inMissingFolder, kHideFlagsSetting, true));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(inMissingFolder.c_str()));
    EXPECT_EQ(0, ReadSetting(inMissingFolder, kHideFlagsSetting));
}

TEST_F(SettingsFileTest, WriteOntoAFolderFailsAndLeavesTheFolder)
{
    ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr));
    EXPECT_FALSE(WriteSetting(path, kGrowLeftSetting, false));
    DWORD attributes = GetFileAttributesA(path.c_str());
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, attributes);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(1, ReadSetting(path, kGrowLeftSetting));
}

}  // namespace

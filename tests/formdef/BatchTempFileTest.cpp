// Temporary batch files: one name per file, even for loads that start in
// the same millisecond.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "exec/UniqueTempFile.h"

namespace {

class BatchTempFile : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const std::string& path : created)
            DeleteFileA(path.c_str());
    }
    std::string Create(DWORD number)
    {
        std::string path;
        EXPECT_TRUE(CreateUniqueTempFile("tavrel-batch-%08x.bat", path, number));
        created.push_back(path);
        return path;
    }
    std::vector<std::string> created;
};

std::string TempFolder()
{
    char folder[MAX_PATH];
    GetTempPathA(sizeof(folder), folder);
    return folder;
}

TEST_F(BatchTempFile, NameIsTheTickCountInEightLowerCaseHexDigits)
{
    // A number no tick count of this run will reach soon.
    std::string path = Create(0xFEDCBA);
    EXPECT_EQ(path, TempFolder() + "\\tavrel-batch-00fedcba.bat");
    DWORD attributes = GetFileAttributesA(path.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(BatchTempFile, SameTickGivesTheNextFreeNumber)
{
    std::string first = Create(0xFEDC00);
    std::string second = Create(0xFEDC00);
    std::string third = Create(0xFEDC00);
    EXPECT_EQ(second, TempFolder() + "\\tavrel-batch-00fedc01.bat");
    EXPECT_EQ(third, TempFolder() + "\\tavrel-batch-00fedc02.bat");
    // The first file was not emptied or replaced by the later ones.
    HANDLE file = CreateFileA(first.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, "kept", 4, &written, nullptr);
    CloseHandle(file);
    Create(0xFEDC00);
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    ASSERT_TRUE(GetFileAttributesExA(first.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(data.nFileSizeLow, 4u);
}

TEST_F(BatchTempFile, NumberWrapsPastTheLastTick)
{
    Create(0xFFFFFFFF);
    EXPECT_EQ(Create(0xFFFFFFFF), TempFolder() + "\\tavrel-batch-00000000.bat");
}

TEST(BatchTempFileFailure, MissingFolderFailsAndNamesTheFileTried)
{
    char previous[MAX_PATH] = {};
    DWORD hadPrevious = GetEnvironmentVariableA("TMP", previous, sizeof(previous));
    SetEnvironmentVariableA("TMP", "C:\\tavrel-no-such-folder");
    std::string path;
    bool created = CreateUniqueTempFile("tavrel-batch-%08x.bat", path, 0x10);
    SetEnvironmentVariableA("TMP", hadPrevious ? previous : nullptr);

    EXPECT_FALSE(created);
    EXPECT_EQ(path, "C:\\tavrel-no-such-folder\\\\tavrel-batch-00000010.bat");
}

}  // namespace

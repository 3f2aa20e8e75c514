// Temporary batch files: one name per file, even for loads that start in
// the same millisecond.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "FormdefTestSupport.h"
#include "exec/RunScriptFiles.h"
#include "exec/UniqueTempFile.h"

namespace {

// Each test gets a temporary folder of its own (through TMP), so that exact
// names can be expected even while other tests use the system's one.
class BatchTempFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_hadTmp = GetEnvironmentVariableA("TMP", m_previousTmp, sizeof(m_previousTmp)) != 0;
        SetEnvironmentVariableA("TMP", m_folder.PathOf("").c_str());
    }
    void TearDown() override
    {
        for (const std::string& path : created)
            DeleteFileA(path.c_str());
        SetEnvironmentVariableA("TMP", m_hadTmp ? m_previousTmp : nullptr);
    }
    std::string Create(DWORD number)
    {
        std::string path;
        EXPECT_TRUE(CreateUniqueTempFile("tavrel-batch-%08x.bat", path, number));
        created.push_back(path);
        return path;
    }
    std::vector<std::string> created;

private:
    PortableTempFolder m_folder;
    char m_previousTmp[MAX_PATH] = {};
    bool m_hadTmp = false;
};

std::string TemporaryFolder()
{
    char folder[MAX_PATH];
    GetTempPathA(sizeof(folder), folder);
    return folder;
}

TEST_F(BatchTempFile, NameIsTheTickCountInEightLowerCaseHexDigits)
{
    std::string path = Create(0xFEDCBA);
    EXPECT_EQ(path, TemporaryFolder() + "\\tavrel-batch-00fedcba.bat");
    DWORD attributes = GetFileAttributesA(path.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(BatchTempFile, SameTickGivesTheNextFreeNumber)
{
    std::string first = Create(0xFEDC00);
    std::string second = Create(0xFEDC00);
    std::string third = Create(0xFEDC00);
    EXPECT_EQ(second, TemporaryFolder() + "\\tavrel-batch-00fedc01.bat");
    EXPECT_EQ(third, TemporaryFolder() + "\\tavrel-batch-00fedc02.bat");
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

// Run scripts left by runs that outlived an earlier start go at a later
// start once a day old; younger ones and files of other names stay.
TEST_F(BatchTempFile, StartDeletesOnlyOwnRunScriptsOlderThanADay)
{
    auto make = [&](const std::string& name, bool old) {
        const std::string path = TemporaryFolder() + name;
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        EXPECT_NE(file, INVALID_HANDLE_VALUE) << path;
        FILETIME now;
        GetSystemTimeAsFileTime(&now);
        ULARGE_INTEGER when = { { now.dwLowDateTime, now.dwHighDateTime } };
        if (old)
            when.QuadPart -= 25ull * 60 * 60 * 10000000;  // 25 hours
        const FILETIME written = { when.LowPart, when.HighPart };
        SetFileTime(file, nullptr, nullptr, &written);
        CloseHandle(file);
        created.push_back(path);
        return path;
    };
    const std::string stale = make("tavrel-exec-0000abcd.bat", true);
    const std::string young = make("tavrel-exec-0000abce.bat", false);
    const std::string notOurs = make("tavrel-exec-0000abcd-mine.bat", true);
    const std::string notHex = make("tavrel-exec-0000abcz.bat", true);

    EXPECT_EQ(DeleteStaleRunScripts(), 1);
    EXPECT_EQ(GetFileAttributesA(stale.c_str()), INVALID_FILE_ATTRIBUTES);
    for (const std::string& kept : { young, notOurs, notHex })
        EXPECT_NE(GetFileAttributesA(kept.c_str()), INVALID_FILE_ATTRIBUTES) << kept;
}

}  // namespace

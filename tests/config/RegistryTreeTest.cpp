#include "config/RegistryTree.h"

#include <gtest/gtest.h>

#include "framework/ModulePath.h"
#include "config/RegistryTestKeys.h"

namespace {

const std::string kRoot = "Software\\TavrelTests\\RegistryTree";

class RegistryTreeTest : public ::testing::Test {
protected:
    void SetUp() override { RemoveTree(HKEY_CURRENT_USER, kRoot); }
    void TearDown() override { RemoveTree(HKEY_CURRENT_USER, kRoot); }
};

TEST_F(RegistryTreeTest, DeletesAKeyWithEveryDescendantAndNothingBeside)
{
    ASSERT_TRUE(PutText(HKEY_CURRENT_USER, kRoot + "\\doomed", "value", "v"));
    ASSERT_TRUE(PutText(HKEY_CURRENT_USER, kRoot + "\\doomed\\a\\a1\\a11", nullptr, "x"));
    ASSERT_TRUE(PutText(HKEY_CURRENT_USER, kRoot + "\\doomed\\a\\a2", nullptr, "x"));
    ASSERT_TRUE(PutText(HKEY_CURRENT_USER, kRoot + "\\doomed\\b", nullptr, "x"));
    ASSERT_TRUE(PutText(HKEY_CURRENT_USER, kRoot + "\\doomed-sibling", nullptr, "kept"));

    EXPECT_EQ(ERROR_SUCCESS, DeleteRegistryTree(HKEY_CURRENT_USER, kRoot + "\\doomed"));

    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kRoot + "\\doomed"));
    EXPECT_EQ("kept", ValueText(HKEY_CURRENT_USER, kRoot + "\\doomed-sibling"));
}

TEST_F(RegistryTreeTest, MissingKeyCountsAsDeleted)
{
    EXPECT_EQ(ERROR_SUCCESS, DeleteRegistryTree(HKEY_CURRENT_USER, kRoot + "\\never-there"));
}

TEST_F(RegistryTreeTest, RefusesAPathThatNamesTheRootItself)
{
    ASSERT_TRUE(PutText(HKEY_CURRENT_USER, kRoot + "\\child", nullptr, "kept"));
    HKEY root = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kRoot.c_str(), 0, KEY_ALL_ACCESS, &root));

    EXPECT_EQ(ERROR_INVALID_PARAMETER, DeleteRegistryTree(root, ""));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, DeleteRegistryTree(HKEY_CURRENT_USER, kRoot + "\\"));
    RegCloseKey(root);

    EXPECT_EQ("kept", ValueText(HKEY_CURRENT_USER, kRoot + "\\child"));
}

// Values longer than any fixed buffer still read back whole.
TEST_F(RegistryTreeTest, LongTextValuesReadBackWhole)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, CreateRegistryKey(HKEY_CURRENT_USER, kRoot, &key));
    const std::string longText(2000, 'L');
    EXPECT_EQ(ERROR_SUCCESS, WriteRegistryText(key, nullptr, longText));
    RegCloseKey(key);

    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kRoot.c_str(), 0, KEY_READ, &key));
    std::string text;
    LONG error = 0;
    EXPECT_TRUE(ReadRegistryText(key, nullptr, &text, &error));
    EXPECT_EQ(longText, text);
    EXPECT_FALSE(ReadRegistryText(key, "absent", &text, &error));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, error);
    RegCloseKey(key);
}

TEST(ModulePathTest, FilesBesideTheModuleKeepItsFolder)
{
    EXPECT_EQ("C:\\Program Files\\Tavrel\\manual.html",
              PathBesideModule("C:\\Program Files\\Tavrel\\tavrel.exe", "manual.html"));
    EXPECT_EQ("tavrel.exemanual.html", PathBesideModule("tavrel.exe", "manual.html"));
}

}  // namespace

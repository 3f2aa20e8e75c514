// Keeping a console's output through its system menu: Copy all output and
// Save output as..., during a run, after it, in the error window, and on a
// target that cannot be written.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "exec/ConsoleTestSupport.h"
#include "exec/FakeConsoleDlg.h"
#include "exec/ProcessRunner.h"
#include "framework/FileDialogs.h"
#include "framework/WinApp.h"

namespace {

constexpr UINT kCopyAllCommand = 0x0100;
constexpr UINT kSaveAsCommand = 0x0110;

std::string ReadBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

std::string MenuText(HWND window, UINT command)
{
    char text[64] = {};
    ::GetMenuStringA(::GetSystemMenu(window, FALSE), command, text, sizeof text, MF_BYCOMMAND);
    return text;
}

// Saves go to the paths given, in turn; the boxes shown are recorded.
class SaveScript {
public:
    explicit SaveScript(std::vector<std::string> paths) : m_paths(std::move(paths))
    {
        SetSaveDialogHook([this](std::string& path) {
            if (m_next >= m_paths.size())
                return false;
            path = m_paths[m_next++];
            return true;
        });
        SetMessageBoxHook([this](HWND, const std::string& text, const std::string&, UINT) {
            boxes.push_back(text);
            return IDOK;
        });
    }
    ~SaveScript()
    {
        SetSaveDialogHook(nullptr);
        SetMessageBoxHook(nullptr);
    }
    std::vector<std::string> boxes;

private:
    std::vector<std::string> m_paths;
    size_t m_next = 0;
};

class KeepOutput : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = std::filesystem::temp_directory_path() / ("tavrel-keep-" + std::to_string(::GetCurrentProcessId()));
        std::filesystem::create_directories(folder);
    }
    void TearDown() override
    {
        std::error_code ignored;
        for (auto& entry : std::filesystem::directory_iterator(folder, ignored))
            std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_write,
                                         std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(folder, ignored);
    }
    std::string PathOf(const std::string& name) const { return (folder / name).string(); }
    size_t FilesInFolder() const
    {
        size_t count = 0;
        for (auto& entry : std::filesystem::directory_iterator(folder))
            count += entry.is_regular_file() ? 1 : 0;
        return count;
    }

    std::filesystem::path folder;
};

}  // namespace

TEST_F(KeepOutput, SavesWhatIsShownDuringAndAfterARunWithCrLfLineEnds)
{
    SaveScript saves({PathOf("during.txt"), PathOf("after.txt")});
    ProcessRunner runner;
    OwnedWindow<FakeConsoleDlg> console;
    // Box-drawing bytes of code page 437 show as their Unicode characters,
    // and the file keeps them (UTF-8).
    console.command = TestChildCommand("out 6f6e650d0ac4c40a lines 2 sleep 1500 out 6c617374");
    console.runner = &runner;
    std::wstring shownAfter;
    std::string menuCopy, menuSave;
    RunConsole(console, [&](ConsoleRemote& remote) {
        ASSERT_TRUE(remote.WaitForText("line 2\n"));
        menuCopy = MenuText(console.m_hWnd, kCopyAllCommand);
        menuSave = MenuText(console.m_hWnd, kSaveAsCommand);
        ::SendMessageA(console.m_hWnd, WM_SYSCOMMAND, kSaveAsCommand, 0);
        ASSERT_TRUE(remote.WaitForCaptionEnding(" (Completed)", 10000));
        ::SendMessageA(console.m_hWnd, WM_SYSCOMMAND, kSaveAsCommand, 0);
        shownAfter = ShownWideText(console.outputCtrl);
    });
    EXPECT_EQ(menuCopy, "Copy all output");
    EXPECT_EQ(menuSave, "Save output as...");

    const std::string early = "one\r\n\xE2\x94\x80\xE2\x94\x80\r\nline 1\r\nline 2\r\n";
    EXPECT_EQ(ReadBytes(PathOf("during.txt")), early);
    EXPECT_EQ(ReadBytes(PathOf("after.txt")), early + "last\r\n\r\n***** Process exited with code 0 *****\r\n");
    // The file is the window's text as the control reports it with CR LF.
    std::string shownUtf8(shownAfter.size() * 3, '\0');
    shownUtf8.resize(::WideCharToMultiByte(CP_UTF8, 0, shownAfter.data(), (int)shownAfter.size(), &shownUtf8[0],
                                           (int)shownUtf8.size(), nullptr, nullptr));
    EXPECT_EQ(ReadBytes(PathOf("after.txt")), shownUtf8);
    EXPECT_TRUE(saves.boxes.empty());
    EXPECT_EQ(FilesInFolder(), 2u);  // nothing temporary left beside them
}

TEST_F(KeepOutput, ErrorWindowCopiesAllOfItsTextInBothClipboardFormats)
{
    LoadRichEdit();
    OwnedWindow<FakeConsoleDlg> console;
    console.textMode = true;
    console.title = "Error";
    console.presetText = "##ERROR##\tLine 3: bad\r\n\r\n  3: {{oops}}";
    ASSERT_TRUE(console.Create());
    console.SendMessage(WM_SYSCOMMAND, kCopyAllCommand, 0);

    ASSERT_TRUE(::OpenClipboard(nullptr));
    HANDLE unicode = ::GetClipboardData(CF_UNICODETEXT);
    HANDLE narrow = ::GetClipboardData(CF_TEXT);
    std::wstring wide = unicode ? static_cast<const wchar_t*>(::GlobalLock(unicode)) : L"";
    std::string bytes = narrow ? static_cast<const char*>(::GlobalLock(narrow)) : "";
    if (unicode) ::GlobalUnlock(unicode);
    if (narrow) ::GlobalUnlock(narrow);
    ::CloseClipboard();
    EXPECT_EQ(wide, L"##ERROR##\tLine 3: bad\r\n\r\n  3: {{oops}}");
    EXPECT_EQ(bytes, "##ERROR##\tLine 3: bad\r\n\r\n  3: {{oops}}");
}

TEST_F(KeepOutput, ReadOnlyTargetIsRefusedWithAMessageAndLeftAlone)
{
    const std::string target = PathOf("locked.txt");
    std::ofstream(target, std::ios::binary) << "old contents";
    ASSERT_TRUE(::SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY));
    SaveScript saves({target, PathOf("missing-folder\\out.txt")});
    LoadRichEdit();
    OwnedWindow<FakeConsoleDlg> console;
    console.textMode = true;
    console.presetText = "new text";
    ASSERT_TRUE(console.Create());

    console.SendMessage(WM_SYSCOMMAND, kSaveAsCommand, 0);
    console.SendMessage(WM_SYSCOMMAND, kSaveAsCommand, 0);

    ASSERT_EQ(saves.boxes.size(), 2u);
    EXPECT_EQ(saves.boxes[0].rfind("Could not save the output to\n" + target + "\n\n", 0), 0u) << saves.boxes[0];
    EXPECT_NE(saves.boxes[1].find("missing-folder"), std::string::npos);
    EXPECT_EQ(ReadBytes(target), "old contents");
    EXPECT_EQ(FilesInFolder(), 1u);
}

// Any path the system accepts: up to 259 characters, where a temporary
// name beside the target would be too long, and nothing is left behind.
TEST_F(KeepOutput, SavesToPathsOfUpTo259CharactersAndLeavesNothingBeside)
{
    std::filesystem::path deep = folder;
    while (deep.string().size() < 225)
        deep /= std::string(std::min<size_t>(40, 230 - deep.string().size()), 'd');
    std::filesystem::create_directories(deep);
    const std::string base = deep.string() + "\\";
    std::vector<std::string> targets;
    for (size_t length : { size_t(247), size_t(259) })
        targets.push_back(base + std::string(length - base.size() - 4, 'f') + ".txt");
    SaveScript saves(targets);
    LoadRichEdit();
    OwnedWindow<FakeConsoleDlg> console;
    console.textMode = true;
    console.presetText = "kept";
    ASSERT_TRUE(console.Create());
    for (size_t i = 0; i < targets.size(); ++i)
        console.SendMessage(WM_SYSCOMMAND, kSaveAsCommand, 0);

    EXPECT_TRUE(saves.boxes.empty()) << saves.boxes.front();
    for (const std::string& target : targets)
        EXPECT_EQ("kept", ReadBytes(target)) << target.size();
    size_t files = 0;
    for (auto& entry : std::filesystem::directory_iterator(deep))
        files += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(targets.size(), files) << "nothing temporary left beside them";
}

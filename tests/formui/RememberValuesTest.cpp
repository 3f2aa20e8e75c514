// The form remembers its values between openings, survives a bad store,
// clears on request; "Copy command line" copies what Run would start.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <thread>

#include "FormHarness.h"
#include "RunFlowSupport.h"
#include "config/Settings.h"
#include "exec/StartErrorBox.h"
#include "formui/ValueStore.h"

namespace {

constexpr UINT kCopyCommandLineCommand = 0x0020;
constexpr UINT kClearValuesCommand = 0x0030;
constexpr UINT kFirstPresetCommand = 0xE000;

std::string StoreFileOf(const std::string& formPath)
{
    return RememberedValuesFolder() + "\\" + RememberedValuesFileName(FormStoreKey(formPath));
}

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Every kind of control with a value; the last field stays empty.
std::string EveryKindForm()
{
    return MakeFormText(ArgsPrinterCommand(), {"{{required file}} Input", "-t {{text}} Text", "/v Verbose",
                                               "{{radiostart}}", "/fast Fast", "--level {{number}} Level",
                                               "{{radioend}}", "-d {{drive}} Drive", "-o {{text}} Unused"});
}

int RunToTheEnd(OpenForm& form, DWORD timeoutMs = 20000)
{
    ConsoleWatch watch(form.Dialog(), timeoutMs);
    form.PressRun();
    return watch.consolesSeen;
}

std::string Upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return (char)toupper(c); });
    return text;
}

// The setting off for its lifetime; the settings file beside the test
// program is shared with other test programs, so it is left as it was found.
class RememberingOff {
public:
    RememberingOff() : m_fileExisted(Exists(GetSettingsPath()))
    {
        WriteSetting(GetSettingsPath(), kRememberValuesSetting, false);
    }
    ~RememberingOff()
    {
        if (m_fileExisted)
            ::WritePrivateProfileStringA(kRememberValuesSetting.section, kRememberValuesSetting.name, nullptr,
                                         GetSettingsPath().c_str());
        else
            ::DeleteFileA(GetSettingsPath().c_str());
    }

private:
    bool m_fileExisted;
};

std::string ClipboardText(UINT format)
{
    std::string text;
    if (!::OpenClipboard(nullptr))
        return "(clipboard not available)";
    if (HANDLE data = ::GetClipboardData(format)) {
        if (format == CF_UNICODETEXT) {
            const wchar_t* wide = static_cast<const wchar_t*>(::GlobalLock(data));
            int length = ::WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
            text.resize(length > 0 ? length - 1 : 0);
            ::WideCharToMultiByte(CP_ACP, 0, wide, -1, &text[0], length, nullptr, nullptr);
        } else {
            text = static_cast<const char*>(::GlobalLock(data));
        }
        ::GlobalUnlock(data);
    }
    ::CloseClipboard();
    return text;
}

}  // namespace

TEST(RememberValues, ARunStoresTheValuesTheNextOpeningPutsThemBackAndClearForgetsThem)
{
    TempFolder scratch;
    const std::string input = scratch.Write("in.txt", "x");
    const std::string formPath = scratch.PathOf("Remembered.gui");
    const std::string awkward = "  \"quoted\" %PATH% a=b; [section] \xC3\xA9t\xC3\xA9  ";
    std::string drive;
    {
        OpenForm form(EveryKindForm(), AtPath{ formPath });
        form.SetText(0, input);
        form.SetText(1, awkward);
        form.SetChecked(2, true);
        form.SetText(4, "7");  // typing selects the typed radio
        form.SelectDrive(5, 1);
        drive = form.Control(5).GetValue();
        ASSERT_EQ(RunToTheEnd(form), 1);
    }
    // The same file, named in other letter case.
    OpenForm again(EveryKindForm(), AtPath{ Upper(formPath) });
    EXPECT_EQ(again.Control(0).GetValue(), input);
    EXPECT_EQ(again.Control(1).GetValue(), awkward);
    EXPECT_EQ(again.Control(2).GetValue(), "/v");
    EXPECT_EQ(again.Control(3).GetValue(), "");
    EXPECT_EQ(again.Control(4).GetValue(), "7");
    EXPECT_EQ(again.Control(5).GetValue(), drive);
    EXPECT_EQ(again.Control(6).GetValue(), "");
    EXPECT_TRUE(again.Logged("Remembered values restored for 7 of 7 controls\n"));

    again.Dialog().SendMessage(WM_SYSCOMMAND, kClearValuesCommand, 0);
    for (size_t i = 0; i < 7; ++i)
        EXPECT_EQ(again.Control(i).GetValue(), "") << i;
    EXPECT_EQ(again.Control(4).m_pEdit->GetWindowText(), "");
    EXPECT_FALSE(Exists(StoreFileOf(formPath)));
}

TEST(RememberValues, NothingIsStoredWithoutAStartedRunNorReadWithTheSettingOff)
{
    TempFolder scratch;
    const std::string formPath = scratch.PathOf("form.gui");
    {
        // Refused in validation, then a command that cannot start.
        OpenForm form(MakeFormText("tavrel-no-such-program", {"{{required text}} Name", "-t {{text}} Text"}), AtPath{ formPath });
        form.SetText(1, "typed");
        form.PressRun();
        ASSERT_EQ(form.BoxCount("Validation Warning"), 1u);
        form.SetText(0, "name");
        std::vector<std::string> startErrors;
        SetStartErrorPresenter([&](const std::string& text) { startErrors.push_back(text); });
        RunToTheEnd(form, 1000);
        SetStartErrorPresenter(nullptr);
        EXPECT_EQ(startErrors.size(), 1u);
        EXPECT_FALSE(Exists(StoreFileOf(formPath)));
    }
    {
        OpenForm form(MakeFormText(ArgsPrinterCommand(), {"-t {{text}} Text"}), AtPath{ formPath });
        form.SetText(0, "kept");
        RunToTheEnd(form);
        ASSERT_TRUE(Exists(StoreFileOf(formPath)));
    }
    {
        RememberingOff off;
        OpenForm form(MakeFormText(ArgsPrinterCommand(), {"-t {{text}} Text"}), AtPath{ formPath });
        EXPECT_EQ(form.Control(0).GetValue(), "");
        form.SetText(0, "not kept");
        RunToTheEnd(form);
    }
    OpenForm form(MakeFormText(ArgsPrinterCommand(), {"-t {{text}} Text"}), AtPath{ formPath });
    EXPECT_EQ(form.Control(0).GetValue(), "kept");
}

TEST(RememberValues, DamagedStoreOrUncreatableFolderStartsEmptyAndStillRuns)
{
    TempFolder scratch;
    const std::string formPath = scratch.PathOf("form.gui");
    const std::string formText = MakeFormText(ArgsPrinterCommand(), {"-t {{text}} Text", "/v Verbose"});
    ::CreateDirectoryA(RememberedValuesFolder().c_str(), nullptr);
    std::ofstream(StoreFileOf(formPath), std::ios::binary) << "{\"tavrelRememberedValues\": 1, \"form\": \"c:\\\\";
    {
        OpenForm form(formText, AtPath{ formPath });
        EXPECT_EQ(form.Control(0).GetValue(), "");
        EXPECT_TRUE(form.Logged("WARNING: Remembered values unusable, starting empty"));
        form.SetText(0, "after damage");
        EXPECT_EQ(RunToTheEnd(form), 1);
    }
    {
        OpenForm form(formText, AtPath{ formPath });  // the run wrote a good store again
        EXPECT_EQ(form.Control(0).GetValue(), "after damage");
    }

    // The application-data folder is a file: no Tavrel folder can be made.
    char saved[MAX_PATH] = {};
    ::GetEnvironmentVariableA("APPDATA", saved, MAX_PATH);
    ::SetEnvironmentVariableA("APPDATA", scratch.Write("not-a-folder", "x").c_str());
    {
        OpenForm form(formText, AtPath{ formPath });
        EXPECT_EQ(form.Control(0).GetValue(), "");
        form.SetText(0, "value");
        EXPECT_EQ(RunToTheEnd(form), 1);
        EXPECT_TRUE(form.Logged("WARNING: Cannot create the folder for remembered values"));
        // The user is told, once however often the form runs.
        EXPECT_EQ(RunToTheEnd(form), 1);
        ASSERT_EQ(form.Boxes().size(), 1u);
        EXPECT_EQ(form.Boxes()[0].text.rfind("The values of this form could not be kept for its next opening: "
                                             "the file\n" + StoreFileOf(formPath) + "\ncould not be written", 0),
                  0u)
            << form.Boxes()[0].text;
        EXPECT_EQ(form.Boxes()[0].type, (UINT)(MB_OK | MB_ICONEXCLAMATION));
    }
    ::SetEnvironmentVariableA("APPDATA", saved);
}

// A store that cannot be deleted (read-only): clearing empties the fields
// and says that the values will come back.
TEST(RememberValues, ClearingAStoreThatCannotBeDeletedSaysSo)
{
    TempFolder scratch;
    const std::string formPath = scratch.PathOf("form.gui");
    const std::string formText = MakeFormText(ArgsPrinterCommand(), {"-t {{text}} Text"});
    {
        OpenForm form(formText, AtPath{ formPath });
        form.SetText(0, "kept");
        EXPECT_EQ(RunToTheEnd(form), 1);
    }
    const std::string store = StoreFileOf(formPath);
    ASSERT_TRUE(::SetFileAttributesA(store.c_str(), FILE_ATTRIBUTE_READONLY));
    {
        OpenForm form(formText, AtPath{ formPath });
        form.Dialog().SendMessage(WM_SYSCOMMAND, kClearValuesCommand, 0);
        EXPECT_EQ(form.Control(0).GetValue(), "");
        ASSERT_EQ(form.Boxes().size(), 1u);
        EXPECT_EQ(form.Boxes()[0].text,
                  "The remembered values of this form could not be cleared, and will come back when it opens again: "
                  "the file\n" + store + "\ncould not be changed (it or its folder may be read-only).");
    }
    OpenForm form(formText, AtPath{ formPath });
    EXPECT_EQ(form.Control(0).GetValue(), "kept");
    ::SetFileAttributesA(store.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Every spelling of one form's path finds its one store; a file far larger
// than any store is not read at all.
TEST(RememberValues, OneStoreForEverySpellingOfThePathAndNoneThatIsFarTooLarge)
{
    TempFolder scratch;
    const std::string formPath = scratch.Write("A Long Form Name.gui", "x");
    const std::vector<RememberedValue> values = { { { "field", "-t", "text", "Text", 0 }, "kept", false } };
    ASSERT_TRUE(StoreRememberedValues(formPath, values));
    char shortPath[MAX_PATH] = {};
    ASSERT_NE(::GetShortPathNameA(formPath.c_str(), shortPath, MAX_PATH), 0u);
    EXPECT_NE(std::string(shortPath), formPath) << "the system made no short name";
    std::string relative = formPath;
    relative.insert(relative.rfind('\\'), "\\.");
    for (const std::string& spelling : { "\\\\?\\" + formPath, std::string(shortPath), Upper(formPath), relative }) {
        std::vector<RememberedValue> read;
        EXPECT_TRUE(LoadRememberedValues(spelling, read)) << spelling;
        EXPECT_EQ(read.size(), 1u) << spelling;
    }

    // Well-formed, but padded past any real store.
    std::ofstream(StoreFileOf(formPath), std::ios::binary)
        << SerializeRememberedValues(FormStoreKey(formPath), values) << std::string(5u << 20, ' ');
    DiagCapture diag;
    std::vector<RememberedValue> read;
    EXPECT_FALSE(LoadRememberedValues(formPath, read));
    EXPECT_NE(diag.Text().find("WARNING: Remembered values file of 52"), std::string::npos) << diag.Text();
    ForgetRememberedValues(formPath);
}

TEST(RememberValues, WindowsSavingAtOnceNeverLeaveAMixedOrBrokenStore)
{
    const std::string formPath = "C:\\forms\\shared.gui";
    auto valuesOf = [](const std::string& text) {
        std::vector<RememberedValue> values;
        for (int i = 0; i < 20; ++i)
            values.push_back({{"field", "-f" + std::to_string(i), "text", "Field", 0}, text + std::to_string(i), false});
        return values;
    };
    const auto first = valuesOf(std::string(3000, 'a')), second = valuesOf("b");
    std::atomic<bool> stop{false};
    std::atomic<int> broken{0}, read{0};
    std::thread reader([&]() {
        std::vector<RememberedValue> values;
        while (!stop) {
            if (!LoadRememberedValues(formPath, values))
                continue;
            ++read;
            const auto& expected = values.size() == 20 && values[0].text == first[0].text ? first : second;
            for (size_t i = 0; i < values.size(); ++i)
                broken += values.size() != 20 || values[i].text != expected[i].text ? 1 : 0;
        }
    });
    std::thread writerA([&]() { for (int i = 0; i < 20; ++i) StoreRememberedValues(formPath, first); });
    std::thread writerB([&]() { for (int i = 0; i < 20; ++i) StoreRememberedValues(formPath, second); });
    writerA.join();
    writerB.join();
    stop = true;
    reader.join();

    EXPECT_EQ(broken, 0);
    EXPECT_GT(read, 0);
    std::vector<RememberedValue> last;
    EXPECT_TRUE(LoadRememberedValues(formPath, last));
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((RememberedValuesFolder() + "\\*.tmp").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << "left behind: " << found.cFileName;
    if (search != INVALID_HANDLE_VALUE)
        ::FindClose(search);
    ForgetRememberedValues(formPath);
}

TEST(Presets, APresetFillsWhatStillMatchesInAFormEditedSinceAndOutlivesClearing)
{
    TempFolder scratch;
    const std::string formPath = scratch.PathOf("preset.gui");
    {
        OpenForm form(MakeFormText(ArgsPrinterCommand(), {"-t {{text}} Text", "/v Verbose", "-o {{text}} Old"}),
                      AtPath{ formPath });
        form.SetText(0, "nightly text");
        form.SetChecked(1, true);
        form.SetText(2, "old text");
        ASSERT_TRUE(form.Dialog().SavePreset("nightly"));
    }
    // Edited since: a field added on top, Verbose moved down, Old removed.
    OpenForm form(MakeFormText(ArgsPrinterCommand(), {"-n {{text}} New", "-t {{text}} Text", "-x {{text}} Extra",
                                                      "/v Verbose"}),
                  AtPath{ formPath });
    form.SetText(0, "typed before");
    form.SetText(2, "extra before");
    form.Dialog().SendMessage(WM_SYSCOMMAND, kClearValuesCommand, 0);  // presets stay
    form.SetText(0, "typed before");
    // What choosing it in the Presets submenu sends: a submenu of the system
    // menu reports its items as ordinary menu commands.
    form.Dialog().SendMessage(WM_COMMAND, MAKEWPARAM(kFirstPresetCommand, 0), 0);
    EXPECT_EQ(form.Control(0).GetValue(), "typed before");
    EXPECT_EQ(form.Control(1).GetValue(), "nightly text");
    EXPECT_EQ(form.Control(2).GetValue(), "");
    EXPECT_EQ(form.Control(3).GetValue(), "/v");
    EXPECT_TRUE(form.Logged("Preset nightly filled 2 of 4 controls\n"));
}

TEST(CopyCommandLine, ClipboardHoldsTheLineRunStartsWithoutValidating)
{
    ::SetEnvironmentVariableA("TAVREL_COPY_TEST", "expanded-value");
    OpenForm form(MakeFormText(ArgsPrinterCommand(), {"{{required text}} Name", "-t {{text}} Text",
                                                        "-o {{newfile}} Output", "/v Verbose"}));
    form.SetText(1, "%TAVREL_COPY_TEST%");
    form.SetText(2, "C:\\no such dir\\out.txt");
    form.SetChecked(3, true);

    form.Dialog().SendMessage(WM_SYSCOMMAND, kCopyCommandLineCommand, 0);
    EXPECT_TRUE(form.Boxes().empty());  // no validation, nothing runs
    const std::string copied = ClipboardText(CF_TEXT);
    EXPECT_EQ(ClipboardText(CF_UNICODETEXT), copied);

    form.SetText(0, "name");
    ConsoleWatch watch(form.Dialog());
    form.PressRun();
    const std::string marker = "COMMAND TO EXECUTE:\n";
    const std::string& log = form.Diagnostics();
    const size_t start = log.find(marker) + marker.size();
    std::string ran = log.substr(start, log.find('\n', start) - start);
    ran.replace(ran.find("%TAVREL_COPY_TEST%"), 18, "expanded-value");
    // The copy was taken before Name was filled.
    ran.replace(ran.find(" name "), 6, " ");
    EXPECT_EQ(copied, ran);
    EXPECT_TRUE(watch.Shows("arg3=14:expanded-value")) << watch.text;
}

TEST(CopyCommandLine, BatchFormCopiesTheScriptCallWithItsArguments)
{
    OpenForm form(MakeFormText("mybatch", {"-n {{text}} Name", "{{batch cmd}}", "@echo %*"}));
    form.SetText(0, "two words");
    form.Dialog().SendMessage(WM_SYSCOMMAND, kCopyCommandLineCommand, 0);
    EXPECT_EQ(ClipboardText(CF_TEXT), "mybatch -n \"two words\"");
}

// The store of remembered values, run history and presets: exact round
// trip, matching after the form was edited, and refusal of damaged or
// foreign store text.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/Diag.h"
#include "formdef/FormModel.h"
#include "formdef/LineReader.h"
#include "formui/RememberedValues.h"
#include "formui/RunHistory.h"

namespace {

const char kFormKey[] = "c:\\forms\\backup.gui";

std::vector<ControlIdentity> IdentitiesOf(const std::string& controlLines)
{
    DiagCapture quiet;  // the parser traces every line
    CFormModel model;
    LineReader reader("tool\r\nA form.\r\n" + controlLines);
    EXPECT_TRUE(model.ParseLines(reader));
    std::vector<const CControlDef*> controls;
    for (const auto& control : model.m_controls)
        controls.push_back(control.get());
    return IdentifyControls(controls);
}

// Stores one value per identity (its label as text, and checked) and reads
// the store back for the identities of another form.
std::vector<std::string> TextsAfterReopening(const std::vector<ControlIdentity>& stored,
                                             const std::vector<ControlIdentity>& reopened)
{
    std::vector<RememberedValue> values;
    for (size_t i = 0; i < stored.size(); ++i)
        values.push_back({stored[i], "value " + std::to_string(i), true});
    std::vector<RememberedValue> read;
    EXPECT_TRUE(ParseRememberedValues(SerializeRememberedValues(kFormKey, values), kFormKey, read));
    std::vector<std::string> texts;
    for (const RememberedValue* match : MatchRememberedValues(reopened, read))
        texts.push_back(match != nullptr ? match->text : "(empty)");
    return texts;
}

}  // namespace

TEST(RememberedValues, AwkwardBytesComeBackExactly)
{
    std::string everyByte;
    for (int byte = 1; byte < 256; ++byte)
        everyByte.push_back(static_cast<char>(byte));
    const std::vector<std::string> awkward = {
        "",
        "  leading and trailing blanks  ",
        "\"quoted\" 'single' %PATH% a=b; [section] {{tag}} \\\\server\\share\\",
        "\xC3\xA9t\xC3\xA9 \xE4\xB8\xAD\xE6\x96\x87",  // UTF-8
        "\xE9t\xE9 \xFF\x80",                          // 8-bit code page bytes, invalid as UTF-8
        std::string("nul\0inside", 10),
        everyByte,
    };
    std::vector<RememberedValue> values;
    for (size_t i = 0; i < awkward.size(); ++i) {
        ControlIdentity identity{"field", awkward[i], "text", awkward[awkward.size() - 1 - i], static_cast<int>(i)};
        values.push_back({identity, awkward[i], i % 2 == 0});
    }
    const std::string key = std::string(kFormKey) + "\xE9\xC3\xA9";

    std::vector<RememberedValue> read;
    ASSERT_TRUE(ParseRememberedValues(SerializeRememberedValues(key, values), key, read));
    ASSERT_EQ(read.size(), values.size());
    for (size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(read[i].text, values[i].text) << i;
        EXPECT_EQ(read[i].checked, values[i].checked) << i;
        EXPECT_TRUE(read[i].control == values[i].control) << i;
    }
}

TEST(RememberedValues, EditedFormKeepsTheValuesOfControlsStillThere)
{
    const auto before = IdentitiesOf(
        "{{required file}} Input\r\n"
        "-o {{newfile}} Output\r\n"
        "-n {{text}} Name\r\n"
        "-n {{text}} Name\r\n"
        "/v Verbose\r\n"
        "{{radiostart}}\r\n/fast Fast\r\n--level {{number}} Level\r\n{{radioend}}\r\n"
        "{{drive}} Drive\r\n");
    // Reopened: a field added on top, Output removed, Verbose moved up, the
    // second Name gone, a new checkbox, the drive line now a text field.
    const auto after = IdentitiesOf(
        "-x {{text}} Extra\r\n"
        "/v Verbose\r\n"
        "{{required file}} Input\r\n"
        "-n {{text}} Name\r\n"
        "/q Quiet\r\n"
        "{{radiostart}}\r\n/fast Fast\r\n--level {{number}} Level\r\n{{radioend}}\r\n"
        "{{text}} Drive\r\n");

    const std::vector<std::string> expected = {"(empty)", "value 4", "value 0", "value 2",
                                               "(empty)", "value 5", "value 6", "(empty)"};
    EXPECT_EQ(TextsAfterReopening(before, after), expected);
}

TEST(RememberedValues, ActionButtonsAreNotRemembered)
{
    const auto identities = IdentitiesOf("{{button --go}} Go\r\n-n {{text}} Name\r\n");
    ASSERT_EQ(identities.size(), 2u);
    EXPECT_TRUE(identities[0].kind.empty());
    EXPECT_EQ(TextsAfterReopening(identities, identities), (std::vector<std::string>{"(empty)", "value 1"}));
}

TEST(RememberedValues, DamagedForeignOrNewerStoreTextReadsAsNothing)
{
    const std::vector<RememberedValue> values = {
        {{"field", "-o", "file", "Output", 0}, "C:\\out.txt", false},
        {{"checkbox", "/v", "", "Verbose", 0}, "", true},
    };
    const std::string text = SerializeRememberedValues(kFormKey, values);
    std::vector<RememberedValue> read;
    ASSERT_TRUE(ParseRememberedValues(text, kFormKey, read));

    // Cut short anywhere (a crash while writing): never a partial set.
    const size_t end = text.rfind('}');
    for (size_t length = 0; length <= end; ++length) {
        read = {values[0]};
        EXPECT_FALSE(ParseRememberedValues(text.substr(0, length), kFormKey, read)) << length;
        EXPECT_TRUE(read.empty());
    }

    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string changed = text;
        changed.replace(changed.find(from), from.size(), to);
        return changed;
    };
    const std::vector<std::string> bad = {
        std::string("\0\0\0\0", 4),
        "\xFF\xFE{ not json",
        "[]",
        "null",
        replaced("\"tavrelRememberedValues\": 1", "\"tavrelRememberedValues\": 2"),  // newer version
        replaced("\"tavrelRememberedValues\": 1", "\"tavrelRememberedValues\": \"1\""),
        replaced("\"checked\": true", "\"checked\": 1"),
        replaced("\"place\": 0", "\"place\": 1e999"),
        replaced("C:\\\\out.txt", "\\u0100"),  // a character no byte was written as
        replaced("\"controls\"", "\"kontrols\""),
    };
    for (size_t i = 0; i < bad.size(); ++i)
        EXPECT_FALSE(ParseRememberedValues(bad[i], kFormKey, read)) << i;

    // Two paths whose file names clash: the stored key tells them apart.
    EXPECT_FALSE(ParseRememberedValues(text, "c:\\forms\\other.gui", read));
    EXPECT_NE(RememberedValuesFileName(kFormKey), RememberedValuesFileName("c:\\forms\\other.gui"));
    // Stored files are found again by these names: they never change.
    EXPECT_EQ(RememberedValuesFileName(kFormKey), "form-b6606adb2609f856.json");
    EXPECT_EQ(RememberedValuesFileName(""), "form-cbf29ce484222325.json");
}

TEST(FormStore, HistoryAndPresetsComeBackWholeAndDamageAnywhereReadsAsAnEmptyStore)
{
    const RememberedValue output{{"field", "-o", "file", "Output", 0}, "C:\\out \xE9.txt", false};
    const RememberedValue verbose{{"checkbox", "/v", "", "Verbose", 0}, "", true};
    FormStore store;
    store.values = {output};
    SetPreset(store.presets, "nightly", {verbose});
    SetPreset(store.presets, "Full", {output, verbose});
    SetPreset(store.presets, "NIGHTLY", {output});  // the same name: replaced, spelling kept
    ASSERT_EQ(store.presets.size(), 2u);
    EXPECT_EQ(store.presets[1].name, "nightly");
    for (int i = 0; i < 60; ++i) {
        RunRecord run;
        run.startedUtc = 1700000000LL + i;
        run.durationMs = 5000000000LL + i;
        run.commandLine = "tool \"a b\" -n " + std::to_string(i);
        run.ending = static_cast<RunEnding>(i % 3);
        run.exitCode = i % 2 == 0 ? -1073741819 : i;
        run.pressedButton = i % 2 == 1;
        run.button = {"", "/L", "", "List only", 1};
        run.values = {output, verbose};
        AddRunRecord(store.history, run);
    }
    ASSERT_EQ(store.history.size(), kMaxRunHistory);
    EXPECT_EQ(store.history.front().commandLine, "tool \"a b\" -n 59");  // newest first
    EXPECT_EQ(store.history.back().commandLine, "tool \"a b\" -n 10");

    const std::string text = SerializeFormStore(kFormKey, store);
    FormStore read;
    ASSERT_TRUE(ParseFormStore(text, kFormKey, read));
    EXPECT_EQ(SerializeFormStore(kFormKey, read), text);
    ASSERT_EQ(read.history.size(), kMaxRunHistory);
    const RunRecord& first = read.history[0];
    EXPECT_EQ(first.startedUtc, 1700000059LL);
    EXPECT_EQ(first.durationMs, 5000000059LL);
    EXPECT_EQ(first.ending, RunEnding::Cancelled);
    EXPECT_EQ(first.exitCode, 59);
    EXPECT_TRUE(first.pressedButton);
    EXPECT_TRUE(first.button == store.history[0].button);
    EXPECT_EQ(read.history[1].exitCode, -1073741819);
    EXPECT_FALSE(read.history[1].pressedButton);
    ASSERT_EQ(read.presets.size(), 2u);
    EXPECT_EQ(read.presets[0].values.size(), 2u);
    EXPECT_EQ(read.presets[1].values[0].text, output.text);

    // A store written before history and presets were kept.
    ASSERT_TRUE(ParseFormStore(SerializeRememberedValues(kFormKey, {verbose}), kFormKey, read));
    EXPECT_TRUE(read.history.empty() && read.presets.empty());
    EXPECT_EQ(read.values.size(), 1u);

    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string changed = text;
        const size_t at = changed.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return at == std::string::npos ? std::string() : changed.replace(at, from.size(), to);
    };
    const std::vector<std::string> bad = {
        text.substr(0, text.size() / 2),
        text.substr(0, text.rfind(']')),
        replaced("\"ended\": \"cancelled\"", "\"ended\": \"crashed\""),
        replaced("\"exitCode\": 59", "\"exitCode\": 4294967296"),
        replaced("\"exitCode\": 59", "\"exitCode\": \"59\""),
        replaced("\"started\": 1700000059", "\"started\": 1.5"),
        replaced("\"button\": null", "\"button\": 1"),
        replaced("\"place\": 1\n", "\"place\": -1\n"),
        replaced("\"name\": \"Full\"", "\"name\": \"\""),
        replaced("\"history\": [", "\"history\": {\"x\": ["),
        replaced("\"presets\": [", "\"presets\": 7, \"old\": ["),
        replaced("\"commandLine\": \"tool", "\"commandLine\": \"\\u0100tool"),
    };
    for (size_t i = 0; i < bad.size(); ++i) {
        read = store;
        EXPECT_FALSE(ParseFormStore(bad[i], kFormKey, read)) << i;
        EXPECT_TRUE(read.values.empty() && read.presets.empty() && read.history.empty()) << i;
    }
}

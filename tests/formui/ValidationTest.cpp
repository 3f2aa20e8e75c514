// Checking values before a run: one control at a time, then the whole form
// with its single warning box.

#include <gtest/gtest.h>

#include "FormHarness.h"
#include "RunFlowSupport.h"

namespace {

const char kGroupMessage[] = "At least one option must be selected from the required group";

std::string TypedFieldsForm()
{
    return MakeFormText("tool", {
                                    "{{required text}} Name",  // 0
                                    "-f {{file}} Input",       // 1
                                    "-d {{dir}} Folder",       // 2
                                    "-x {{filedir}} Either",   // 3
                                    "-o {{newfile}} Output",   // 4
                                    "-n {{number}} Count",     // 5
                                    "-m {{newdir}} Made",      // 6
                                });
}

struct Check {
    FormControl::ValidationResult result;
    std::string message;
};

Check ValidateControl(OpenForm& form, size_t index)
{
    std::string message = "left over from before";
    FormControl::ValidationResult result = form.Control(index).Validate(
        [&form](const std::string& path) { return form.Dialog().ConfirmOverwrite(path); }, message);
    return {result, message};
}

size_t Occurrences(const std::string& text, const std::string& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

}  // namespace

TEST(ValidateControl, RequiredAndOptionalEmptiness)
{
    OpenForm form(TypedFieldsForm());
    Check empty = ValidateControl(form, 0);
    EXPECT_EQ(empty.result, FormControl::kInvalid);
    EXPECT_EQ(empty.message, "Required field is empty: Name");

    form.SetText(0, "   ");  // spaces are a value
    EXPECT_EQ(ValidateControl(form, 0).result, FormControl::kValid);

    // An optional path left empty is not looked up at all.
    Check optional = ValidateControl(form, 1);
    EXPECT_EQ(optional.result, FormControl::kValid);
    EXPECT_EQ(optional.message, "");

    form.SetText(5, "not a number");  // "number" has no digit check
    EXPECT_EQ(ValidateControl(form, 5).result, FormControl::kValid);
    EXPECT_TRUE(form.Boxes().empty());
}

TEST(ValidateControl, ExistingPathTypes)
{
    TempFolder scratch;
    std::string file = scratch.Write("data.txt", "x");
    std::string folder = scratch.MakeFolder("sub");
    std::string missing = scratch.PathOf("nothing-here");
    OpenForm form(TypedFieldsForm());

    form.SetText(1, missing);
    EXPECT_EQ(ValidateControl(form, 1).message, "Path does not exist: " + missing);
    form.SetText(1, folder);
    EXPECT_EQ(ValidateControl(form, 1).message, "Expected a file, but path is a directory: " + folder);
    form.SetText(1, file);
    EXPECT_EQ(ValidateControl(form, 1).result, FormControl::kValid);

    form.SetText(2, file);
    EXPECT_EQ(ValidateControl(form, 2).message, "Expected a directory, but path is a file: " + file);
    form.SetText(2, folder + "\\");
    EXPECT_EQ(ValidateControl(form, 2).result, FormControl::kValid);
    // The message quotes the value as typed, trailing separator and all.
    form.SetText(2, missing + "\\");
    EXPECT_EQ(ValidateControl(form, 2).message, "Path does not exist: " + missing + "\\");

    form.SetText(3, file);
    EXPECT_EQ(ValidateControl(form, 3).result, FormControl::kValid);
    form.SetText(3, folder);
    EXPECT_EQ(ValidateControl(form, 3).result, FormControl::kValid);
    form.SetText(3, missing);
    EXPECT_EQ(ValidateControl(form, 3).result, FormControl::kInvalid);
}

TEST(ValidateControl, BareDriveIsProbedAsItsRoot)
{
    OpenForm form(TypedFieldsForm());
    for (const char* drive : {"C:", "C:\\", "c:/"}) {
        form.SetText(2, drive);
        Check check = ValidateControl(form, 2);
        EXPECT_EQ(check.result, FormControl::kValid) << drive << ": " << check.message;
    }
}

TEST(ValidateControl, ExistingNewPathAsksOnce)
{
    TempFolder scratch;
    std::string file = scratch.Write("out.zip", "x");
    OpenForm form(TypedFieldsForm());

    form.SetText(4, file);
    form.Answer("File Exists", IDYES);
    EXPECT_EQ(ValidateControl(form, 4).result, FormControl::kValid);
    ASSERT_EQ(form.BoxCount("File Exists"), 1u);
    const ShownBox* box = form.LastBox("File Exists");
    EXPECT_EQ(box->text, "Warning: Path already exists and may be overwritten:\n" + file + "\n\nContinue anyway?");
    EXPECT_EQ(box->type, static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION));
    EXPECT_EQ(box->owner, form.Dialog().m_hWnd);

    form.Answer("File Exists", IDNO);
    EXPECT_EQ(ValidateControl(form, 4).result, FormControl::kOverwriteRefused);
    EXPECT_EQ(form.BoxCount("File Exists"), 2u);

    // Whatever the kind: a "newdir" naming an existing file is asked about too.
    form.SetText(6, file);
    ValidateControl(form, 6);
    EXPECT_EQ(form.BoxCount("File Exists"), 3u);

    form.SetText(4, scratch.PathOf("fresh.zip"));
    EXPECT_EQ(ValidateControl(form, 4).result, FormControl::kValid);
    EXPECT_EQ(form.BoxCount("File Exists"), 3u);
}

TEST(ValidateInputs, CleanFormShowsNoBox)
{
    OpenForm form(TypedFieldsForm());
    form.SetText(0, "me");
    form.ResetDiagnostics();
    EXPECT_TRUE(form.Dialog().ValidateInputs());
    EXPECT_TRUE(form.Boxes().empty());
    EXPECT_EQ(form.Diagnostics(), "\n=== ValidateInputs ===\nAll validations passed\n");
}

TEST(ValidateInputs, ProblemsGatheredInFormOrderWithGroupLast)
{
    TempFolder scratch;
    std::string file = scratch.Write("a.txt", "x");
    std::string missing = scratch.PathOf("gone.txt");
    OpenForm form(MakeFormText("tool", {
                                             "{{radiostart required}}",
                                             "--a A",                    // 0
                                             "--b B",                    // 1
                                             "{{radioend}}",
                                             "{{required text}} Name",   // 2
                                             "-f {{file}} Input",        // 3
                                             "-d {{dir}} Folder",        // 4
                                         }));
    form.SetText(3, missing);
    form.SetText(4, file);

    form.ResetDiagnostics();
    EXPECT_FALSE(form.Dialog().ValidateInputs());
    ASSERT_EQ(form.BoxCount("Validation Warning"), 1u);
    const ShownBox* box = form.LastBox("Validation Warning");
    EXPECT_EQ(box->text, "Required field is empty: Name\n\n"
                         "Path does not exist: " + missing + "\n\n"
                         "Expected a directory, but path is a file: " + file + "\n\n" +
                         kGroupMessage + "\n\nRun anyway?");
    EXPECT_EQ(box->type, static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION));
    EXPECT_EQ(box->owner, form.Dialog().m_hWnd);
    EXPECT_TRUE(form.Logged("Validation failed for required field 2: Required field is empty: Name\n"));
    EXPECT_TRUE(form.Logged("Validation failed for control 3: Path does not exist: " + missing + "\n"));
    EXPECT_TRUE(form.Logged("Validation failed - user chose not to continue\n"));
    EXPECT_FALSE(form.Logged("All validations passed"));

    form.Answer("Validation Warning", IDYES);
    form.ResetDiagnostics();
    EXPECT_TRUE(form.Dialog().ValidateInputs());
    EXPECT_TRUE(form.Logged("Validation warnings present but user chose to continue\nAll validations passed\n"));
}

TEST(ValidateInputs, EveryRequiredGroupIsChecked)
{
    OpenForm form(MakeFormText("tool", {
                                             "{{radiostart required}}", "--a A", "--b B", "{{radioend}}",
                                             "{{radiostart required}}", "--c C", "--d D", "{{radioend}}",
                                         }));
    form.SetChecked(0, true);  // the first group is answered, the second is not
    EXPECT_FALSE(form.Dialog().ValidateInputs());
    ASSERT_EQ(form.BoxCount("Validation Warning"), 1u);
    EXPECT_EQ(form.LastBox("Validation Warning")->text, std::string(kGroupMessage) + "\n\nRun anyway?");

    form.SetChecked(0, false);  // neither: still one message
    form.ClearBoxes();
    form.Dialog().ValidateInputs();
    ASSERT_EQ(form.BoxCount("Validation Warning"), 1u);
    EXPECT_EQ(Occurrences(form.LastBox("Validation Warning")->text, kGroupMessage), 1u);

    form.SetChecked(0, true);
    form.SetChecked(3, true);
    form.ClearBoxes();
    form.ResetDiagnostics();
    EXPECT_TRUE(form.Dialog().ValidateInputs());
    EXPECT_TRUE(form.Boxes().empty());
    EXPECT_TRUE(form.Logged("  Radio group 1 has value: --a\n  Radio group 2 has value: --d\n"));
}

TEST(ValidateInputs, SelectedRadioWithoutValueLeavesGroupUnanswered)
{
    OpenForm form(MakeFormText("tool", {
                                             "{{radiostart required}}",
                                             "\"\" Nothing",                 // 0: empty flag
                                             "--n {{number}} Count",         // 1: typed, empty box
                                             "{{radioend}}",
                                         }));
    form.SetChecked(0, true);
    EXPECT_FALSE(form.Dialog().ValidateInputs());
    EXPECT_EQ(form.BoxCount("Validation Warning"), 1u);

    form.SetChecked(0, false);
    form.SetChecked(1, true);
    form.ClearBoxes();
    EXPECT_FALSE(form.Dialog().ValidateInputs());
    EXPECT_EQ(form.BoxCount("Validation Warning"), 1u);
}

TEST(ValidateInputs, TypedRadioTextIsCheckedOnlyOutsideRequiredGroups)
{
    TempFolder scratch;
    std::string missing = scratch.PathOf("absent.txt");
    OpenForm form(MakeFormText("tool", {
                                             "{{radiostart required}}", "--in {{file}} Input", "{{radioend}}",  // 0
                                             "{{radiostart}}", "--log {{file}} Log", "{{radioend}}",            // 1
                                         }));
    form.SetChecked(0, true);
    form.SetText(0, missing);
    EXPECT_TRUE(form.Dialog().ValidateInputs());  // only its having a value counts
    EXPECT_TRUE(form.Boxes().empty());

    form.SetChecked(1, true);
    form.SetText(1, missing);
    EXPECT_FALSE(form.Dialog().ValidateInputs());
    ASSERT_EQ(form.BoxCount("Validation Warning"), 1u);
    EXPECT_EQ(form.LastBox("Validation Warning")->text, "Path does not exist: " + missing + "\n\nRun anyway?");
}

TEST(ValidateInputs, RefusedOverwriteStopsAtOnce)
{
    TempFolder scratch;
    std::string existing = scratch.Write("out.bin", "x");
    std::string missing = scratch.PathOf("in.bin");
    OpenForm form(MakeFormText("tool", {"-o {{newfile}} Output", "-i {{file}} Input"}));
    form.SetText(0, existing);
    form.SetText(1, missing);

    form.Answer("File Exists", IDNO);
    form.ResetDiagnostics();
    EXPECT_FALSE(form.Dialog().ValidateInputs());
    EXPECT_EQ(form.BoxCount("File Exists"), 1u);
    EXPECT_EQ(form.BoxCount("Validation Warning"), 0u);
    EXPECT_FALSE(form.Logged("Validation failed for control 1"));

    form.Answer("File Exists", IDYES);
    form.ClearBoxes();
    EXPECT_FALSE(form.Dialog().ValidateInputs());  // the warning box says No by default
    EXPECT_EQ(form.BoxCount("File Exists"), 1u);
    ASSERT_EQ(form.BoxCount("Validation Warning"), 1u);
    EXPECT_EQ(form.LastBox("Validation Warning")->text, "Path does not exist: " + missing + "\n\nRun anyway?");
}

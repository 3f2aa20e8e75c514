// Input that is not a sensible form must still parse without harm: binary
// bytes, very long lines, unbalanced braces, stray carriage returns. (NUL
// bytes are refused: see FormTextDecodingTest.)

#include <gtest/gtest.h>

#include <cstdint>

#include "FormdefTestSupport.h"
#include "common/Diag.h"

namespace {

size_t CountOf(const std::string& text, const std::string& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

void ExpectIndexesInFileOrder(const CFormModel& model)
{
    for (size_t i = 0; i < model.m_controls.size(); ++i)
        ASSERT_EQ(model.m_controls[i]->m_nIndex, static_cast<int>(i));
}

std::string BinaryNoise(size_t size)
{
    // Skewed towards the bytes the grammar cares about; no NUL, which
    // would make the whole file one error.
    const char interesting[] = {'{', '}', ' ', '\t', '\r', '\n', '\'', '"', 'x', '-'};
    std::string bytes;
    uint32_t state = 12345;
    for (size_t i = 0; i < size; ++i) {
        state = state * 1103515245u + 12345u;
        uint32_t pick = state >> 16;
        bytes += (pick % 3 == 0) ? interesting[pick % sizeof interesting] : static_cast<char>((pick & 0xFF) ? (pick & 0xFF) : 'z');
    }
    return "tool\ndesc\n" + bytes;
}

TEST(BadInput, BinaryNoiseReadsTheSameFromFileAndText)
{
    std::string noise = BinaryNoise(200000);
    PortableTempFolder folder;
    RecordingPresenter presenter;
    CFormModel fromFile, fromText;
    bool fileResult, textResult;
    {
        DiagCapture capture;
        fileResult = fromFile.ParseFile(folder.Write("noise.gui", noise));
        EXPECT_EQ(CountOf(capture.Text(), "##ERROR##"), presenter.reports.size());
    }
    ExpectIndexesInFileOrder(fromFile);
    EXPECT_EQ(presenter.quitRequests, static_cast<int>(presenter.reports.size()));
    textResult = ParseText(fromText, noise);
    EXPECT_EQ(fileResult, textResult);
    ASSERT_EQ(fromFile.m_controls.size(), fromText.m_controls.size());
    ASSERT_GT(fromFile.m_controls.size(), 100u);
    for (size_t i = 0; i < fromFile.m_controls.size(); ++i) {
        EXPECT_EQ(fromFile.m_controls[i]->m_strFlag, fromText.m_controls[i]->m_strFlag);
        EXPECT_EQ(fromFile.m_controls[i]->m_strLabel, fromText.m_controls[i]->m_strLabel);
    }
}

TEST(BadInput, LongLinesAreKeptWhole)
{
    std::string longFlag = "-" + std::string(99999, 'x');
    std::string longLabel(100000, 'y');
    std::string text = "tool\nd\n" + longFlag + " " + longLabel + "\n";
    CFormModel model;
    DiagCapture quiet;
    ASSERT_TRUE(ParseText(model, text));
    ASSERT_EQ(model.m_controls.size(), 1u);
    EXPECT_EQ(model.m_controls[0]->m_strFlag, longFlag);
    EXPECT_EQ(model.m_controls[0]->m_strLabel, longLabel);
}

TEST(BadInput, UnbalancedBraces)
{
    RecordingPresenter presenter;
    CFormModel model;
    DiagCapture capture;
    ASSERT_TRUE(ParseText(model, "t\nd\n{{{{}}}}}}{{\n}}{{\n{{{\n{{ {{ }} }}\n{{button\n{{required\n{{\n"));
    EXPECT_EQ(presenter.reports.size(), 4u);
    EXPECT_EQ(CountOf(capture.Text(), "Possible unclosed tag (missing }})\n"), 2u);
    EXPECT_EQ(CountOf(capture.Text(), "Unrecognized keyword '{{'\n"), 2u);
    ASSERT_EQ(model.m_controls.size(), 7u);
    EXPECT_EQ(model.m_controls[0]->m_strFlag, "{{{{}}}}}}{{");
    EXPECT_EQ(model.m_controls[4]->m_strFlag, "{{button");
    EXPECT_EQ(model.m_controls[4]->m_bActionButton, 0);
    EXPECT_EQ(model.m_controls[5]->m_bRequired, 0);
    ExpectIndexesInFileOrder(model);
}

TEST(BadInput, LoneCarriageReturnsAreOrdinaryCharacters)
{
    CFormModel model;
    ASSERT_TRUE(ParseText(model, "t\rstill line 1\r\nd\n-a\rb Label\r\n\r\r\n"));
    EXPECT_EQ(model.m_strCommand, "t\rstill line 1");
    ASSERT_EQ(model.m_controls.size(), 1u);  // "\r" alone trims to nothing
    EXPECT_EQ(model.m_controls[0]->m_strFlag, "-a\rb");
    EXPECT_EQ(model.m_controls[0]->m_strLabel, "Label");
    EXPECT_EQ(model.m_nLine, 4);
}

}  // namespace

TEST(BadInput, FormsPastTheWindowLimitAreRefusedAtTheLineThatCrossesIt)
{
    DiagCapture quiet;
    // Checkboxes need one window each: 3000 fit, the 3001st (line 3003) does not.
    std::string checkboxes = "tool\ndesc\n";
    for (int i = 0; i < 3000; ++i) checkboxes += "-c" + std::to_string(i) + " C\n";
    {
        RecordingPresenter presenter;
        CFormModel model;
        EXPECT_TRUE(ParseText(model, checkboxes));
        EXPECT_EQ(3000u, model.m_controls.size());
        EXPECT_TRUE(presenter.reports.empty());
    }
    {
        RecordingPresenter presenter;
        CFormModel model;
        EXPECT_FALSE(ParseText(model, checkboxes + "-last Last\n-never Read\n"));
        const std::string message = "Too many controls: more than 3000 windows needed";
        ASSERT_EQ(1u, presenter.reports.size());
        EXPECT_EQ("Parse Error at Line 3003", presenter.reports[0].title);
        EXPECT_NE(std::string::npos, presenter.reports[0].text.find(">>> ERROR AT LINE 3003: " + message));
        EXPECT_EQ(1, presenter.quitRequests);
        EXPECT_EQ(3000u, model.m_controls.size());
        EXPECT_NE(std::string::npos, quiet.Text().find("##ERROR##\tLine 3003: " + message + "\n"));
        EXPECT_EQ(std::string::npos, quiet.Text().find("-never"));
    }
    // Path fields need three (label, edit box, Browse), a labelled typed
    // radio three, a drive field two: 999 path fields and one more typed
    // radio are exactly 3000; one more checkbox is one too many.
    std::string mixed = "tool\ndesc\n";
    for (int i = 0; i < 998; ++i) mixed += "-f" + std::to_string(i) + " {{file}} F\n";
    mixed += "{{drive}} D\n-x X\n{{radiostart}}\n-n {{number}} Count\n{{radioend}}\n";
    {
        RecordingPresenter presenter;
        CFormModel model;
        EXPECT_TRUE(ParseText(model, mixed));
        EXPECT_TRUE(presenter.reports.empty());
    }
    RecordingPresenter presenter;
    CFormModel model;
    EXPECT_FALSE(ParseText(model, mixed + "-y Y\n"));
    ASSERT_EQ(1u, presenter.reports.size());
    EXPECT_EQ("Parse Error at Line 1006", presenter.reports[0].title);
}

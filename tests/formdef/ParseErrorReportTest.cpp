// What the user is shown for a format error, and the marked diagnostic line.

#include <gtest/gtest.h>

#include "FormdefTestSupport.h"
#include "common/Diag.h"

namespace {

TEST(ParseErrorReport, EmptyFile)
{
    PortableTempFolder folder;
    RecordingPresenter presenter;
    CFormModel model;
    DiagCapture capture;
    EXPECT_FALSE(model.ParseFile(folder.Write("empty.gui", "")));
    EXPECT_EQ(capture.Text(), "##ERROR##\tFile is empty\n");
    ASSERT_EQ(presenter.reports.size(), 1u);
    EXPECT_EQ(presenter.reports[0].title, "Parse Error");
    EXPECT_EQ(presenter.reports[0].text, "Parse Error:\r\n\r\nError: File is empty");
    EXPECT_EQ(presenter.quitRequests, 1);
}

TEST(ParseErrorReport, OneLineFileShowsThatLineAsRead)
{
    PortableTempFolder folder;
    RecordingPresenter presenter;
    CFormModel model;
    DiagCapture capture;
    EXPECT_FALSE(model.ParseFile(folder.Write("one.gui", " tool.exe \r\n")));
    EXPECT_EQ(capture.Text(), "Command: tool.exe\n##ERROR##\tLine 1: Missing description line\n");
    ASSERT_EQ(presenter.reports.size(), 1u);
    EXPECT_EQ(presenter.reports[0].title, "Parse Error at Line 1");
    EXPECT_EQ(presenter.reports[0].text, "01:  tool.exe \r\n>>> ERROR AT LINE 1: Missing description line\r\n");
    EXPECT_EQ(presenter.quitRequests, 1);
}

TEST(ParseErrorReport, ListingKeepsBlankLinesSoNumbersMatchTheEditor)
{
    RecordingPresenter presenter;
    CFormModel model;
    DiagCapture capture;
    EXPECT_TRUE(ParseText(model, "t\nd\n-a A\n-b B\n\n-c C\n-d D\n\n-e E\n-f F\n-g G\n{{Bad}} x\n-h H\n"));
    EXPECT_NE(capture.Text().find("##ERROR##\tLine 12: Unrecognized keyword 'Bad'\n"), std::string::npos);
    ASSERT_EQ(presenter.reports.size(), 1u);
    EXPECT_EQ(presenter.reports[0].title, "Parse Error at Line 12");
    EXPECT_EQ(presenter.reports[0].text,
              "01: t\r\n02: d\r\n03: -a A\r\n04: -b B\r\n05: \r\n06: -c C\r\n07: -d D\r\n08: \r\n"
              "09: -e E\r\n10: -f F\r\n11: -g G\r\n12: {{Bad}} x\r\n"
              ">>> ERROR AT LINE 12: Unrecognized keyword 'Bad'\r\n");
    EXPECT_EQ(model.m_controls.size(), 9u);  // the parse went on after the error
}

TEST(ParseErrorReport, LinesFromHundredOnHaveThreeDigits)
{
    std::string text = "t\nd\n";
    for (int line = 3; line <= 104; ++line) text += "-a A\n";
    text += "-x {{nope}} X\n";
    RecordingPresenter presenter;
    CFormModel model;
    DiagCapture capture;
    EXPECT_TRUE(ParseText(model, text));
    EXPECT_NE(capture.Text().find("##ERROR##\tLine 105: Unrecognized keyword 'nope'\n"), std::string::npos);
    ASSERT_EQ(presenter.reports.size(), 1u);
    EXPECT_EQ(presenter.reports[0].title, "Parse Error at Line 105");
    const std::string& report = presenter.reports[0].text;
    EXPECT_NE(report.find("\r\n99: -a A\r\n100: -a A\r\n"), std::string::npos);
    const std::string tail = "105: -x {{nope}} X\r\n>>> ERROR AT LINE 105: Unrecognized keyword 'nope'\r\n";
    ASSERT_GE(report.size(), tail.size());
    EXPECT_EQ(report.substr(report.size() - tail.size()), tail);
}

TEST(ParseErrorReport, EveryErrorIsWrittenShownAndEndsTheProgram)
{
    RecordingPresenter presenter;
    CFormModel model;
    DiagCapture capture;
    EXPECT_TRUE(ParseText(model, "t\nd\n{{Bad}} a\n-x {{worse}} b\n"));
    const std::string& text = capture.Text();
    size_t first = text.find("##ERROR##\tLine 3: Unrecognized keyword 'Bad'\n");
    size_t second = text.find("##ERROR##\tLine 4: Unrecognized keyword 'worse'\n");
    EXPECT_NE(first, std::string::npos);
    EXPECT_NE(second, std::string::npos);
    EXPECT_LT(first, second);
    ASSERT_EQ(presenter.reports.size(), 2u);
    EXPECT_EQ(presenter.reports[1].title, "Parse Error at Line 4");
    EXPECT_EQ(presenter.reports[1].text, "01: t\r\n02: d\r\n03: {{Bad}} a\r\n04: -x {{worse}} b\r\n"
                                         ">>> ERROR AT LINE 4: Unrecognized keyword 'worse'\r\n");
    EXPECT_EQ(presenter.quitRequests, 2);
}

TEST(ParseErrorReport, WithoutReaderOrPresenter)
{
    CFormModel model;
    {
        RecordingPresenter presenter;
        DiagCapture capture;
        model.ReportError(3, "Something", nullptr);
        model.ReportError(-2, "Batch script produced no output", nullptr);
        EXPECT_EQ(capture.Text(), "##ERROR##\tLine 3: Something\n##ERROR##\tBatch script produced no output\n");
        ASSERT_EQ(presenter.reports.size(), 2u);
        EXPECT_EQ(presenter.reports[0].text, ">>> ERROR AT LINE 3: Something\r\n");
        EXPECT_EQ(presenter.reports[1].title, "Parse Error");
        EXPECT_EQ(presenter.reports[1].text, "Parse Error:\r\n\r\nError: Batch script produced no output");
    }
    ASSERT_EQ(GetParseErrorPresenter(), nullptr);
    DiagCapture capture;
    model.ReportError(0, "File is empty", nullptr);  // nothing to show it: only the line
    EXPECT_EQ(capture.Text(), "##ERROR##\tFile is empty\n");
}

TEST(ParseErrorReport, FileThatDoesNotOpenShowsABoxAndLeavesTheModelEmpty)
{
    PortableTempFolder folder;
    std::string path = folder.PathOf("missing.gui");
    RecordingPresenter presenter;
    CFormModel model;
    ASSERT_TRUE(ParseText(model, "old\ndesc\n-a A\n"));
    DiagCapture capture;
    EXPECT_FALSE(model.ParseFile(path));
    EXPECT_EQ(capture.Text(), "##ERROR##\tFailed to open file: " + path + "\n");
    EXPECT_EQ(presenter.openFailures, std::vector<std::string>{"Failed to open file: " + path});
    EXPECT_TRUE(presenter.reports.empty());
    EXPECT_EQ(presenter.quitRequests, 0);
    EXPECT_TRUE(model.m_controls.empty());
    EXPECT_EQ(model.m_strCommand, "");
}

}  // namespace

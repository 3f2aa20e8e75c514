// How one value is written on the command line, checked against reference
// readers of the two kinds of receiver.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ArgvSplitter.h"
#include "formui/CommandLineQuoting.h"

namespace {

std::string ForProgram(const std::string& value, bool pathType = false)
{
    return FormatValueArgument(value, pathType, ArgumentRules::ProgramArguments);
}

std::string ForBatch(const std::string& value, bool pathType = false)
{
    return FormatValueArgument(value, pathType, ArgumentRules::BatchParameters);
}

// Every text of 1 to maxLength characters drawn from `alphabet`.
std::vector<std::string> AllTexts(const std::string& alphabet, size_t maxLength)
{
    std::vector<std::string> texts;
    std::vector<std::string> previous = {""};
    for (size_t length = 1; length <= maxLength; ++length) {
        std::vector<std::string> next;
        for (const std::string& stem : previous)
            for (char c : alphabet)
                next.push_back(stem + c);
        texts.insert(texts.end(), next.begin(), next.end());
        previous = next;
    }
    return texts;
}

std::string WithoutSurroundingQuotes(const std::string& parameter)
{
    if (parameter.size() >= 2 && parameter.front() == '"' && parameter.back() == '"')
        return parameter.substr(1, parameter.size() - 2);
    return parameter;
}

}  // namespace

TEST(ProgramArgumentFormat, PlainValuesComeOutAsBefore)
{
    EXPECT_EQ(ForProgram("hello"), "hello");
    EXPECT_EQ(ForProgram("hello world"), "\"hello world\"");
    EXPECT_EQ(ForProgram("D:\\out", true), "\"D:\\out\"");
    EXPECT_EQ(ForProgram("C:\\My Files", true), "\"C:\\My Files\"");
    EXPECT_EQ(ForProgram("report.txt", true), "\"report.txt\"");
    // Backslashes that no quote follows mean nothing to the receiver.
    EXPECT_EQ(ForProgram("a\\b\\\\c"), "a\\b\\\\c");
    EXPECT_EQ(ForProgram("\\\\server\\share\\file", true), "\"\\\\server\\share\\file\"");
    // A tab separates arguments as a space does.
    EXPECT_EQ(ForProgram("tab\there"), "\"tab\there\"");
    // An unquoted value may end in a backslash: no quote follows it.
    EXPECT_EQ(ForProgram("dir\\"), "dir\\");
}

TEST(ProgramArgumentFormat, TrailingBackslashNoLongerEscapesTheClosingQuote)
{
    EXPECT_EQ(ForProgram("C:\\", true), "\"C:\\\\\"");
    EXPECT_EQ(ForProgram("D:\\out\\", true), "\"D:\\out\\\\\"");
    EXPECT_EQ(ForProgram("D:\\out\\\\", true), "\"D:\\out\\\\\\\\\"");
    EXPECT_EQ(ForProgram("my dir\\"), "\"my dir\\\\\"");
}

TEST(ProgramArgumentFormat, DoubleQuotesAreEscaped)
{
    EXPECT_EQ(ForProgram("say\"hi"), "say\\\"hi");
    EXPECT_EQ(ForProgram("a \"b\" c"), "\"a \\\"b\\\" c\"");
    EXPECT_EQ(ForProgram("a\\\"b"), "a\\\\\\\"b");
    EXPECT_EQ(ForProgram("\"", true), "\"\\\"\"");
}

TEST(ProgramArgumentFormat, EveryTrickyValueReadsBackAsOneArgument)
{
    for (bool pathType : {false, true}) {
        for (const std::string& value : AllTexts("a \t\\\"", 6)) {
            std::vector<std::string> parsed = SplitProgramArguments(ForProgram(value, pathType));
            ASSERT_EQ(parsed, std::vector<std::string>{value})
                << "value [" << value << "] path=" << pathType << " written as [" << ForProgram(value, pathType)
                << "]";
        }
    }
}

TEST(ProgramArgumentFormat, NeighbouringArgumentsStayApart)
{
    std::vector<std::string> values = {"C:\\", "say\"hi", "x y\\", "\\\"", "plain"};
    std::string line;
    for (const std::string& value : values)
        line += (line.empty() ? "" : " ") + ForProgram(value, value == "C:\\");
    EXPECT_EQ(SplitProgramArguments(line), values);
}

TEST(BatchParameterFormat, BackslashesAreLeftAlone)
{
    EXPECT_EQ(ForBatch("C:\\", true), "\"C:\\\"");
    EXPECT_EQ(ForBatch("D:\\out\\", true), "\"D:\\out\\\"");
    EXPECT_EQ(ForBatch("plain"), "plain");
    EXPECT_EQ(ForBatch("two words"), "\"two words\"");
    EXPECT_EQ(ForBatch("dir\\"), "dir\\");
}

TEST(BatchParameterFormat, SeparatorsOperatorsAndQuotesAreQuoted)
{
    EXPECT_EQ(ForBatch("a\"b"), "\"a\"\"b\"");
    EXPECT_EQ(ForBatch("a&b"), "\"a&b\"");
    EXPECT_EQ(ForBatch("x,y"), "\"x,y\"");
    EXPECT_EQ(ForBatch("k=v"), "\"k=v\"");
    EXPECT_EQ(ForBatch("a;b"), "\"a;b\"");
    EXPECT_EQ(ForBatch("1>out"), "\"1>out\"");
    EXPECT_EQ(ForBatch("a|b"), "\"a|b\"");
    EXPECT_EQ(ForBatch("a^b"), "\"a^b\"");
    EXPECT_EQ(ForBatch("a\tb"), "\"a\tb\"");
}

TEST(BatchParameterFormat, EveryTrickyValueStaysOneParameterAndRunsNothing)
{
    for (bool pathType : {false, true}) {
        for (const std::string& value : AllTexts("a\t ,\"&\\", 5)) {
            std::string written = ForBatch(value, pathType);
            std::vector<std::string> parameters = SplitBatchParameters("first " + written + " last");
            ASSERT_EQ(parameters.size(), 3u) << "value [" << value << "] written as [" << written << "]";
            EXPECT_EQ(parameters.front(), "first");
            EXPECT_EQ(parameters.back(), "last");
            EXPECT_FALSE(HasBatchOperatorOutsideQuotes(written)) << "value [" << value << "]";
            if (value.find('"') == std::string::npos) {
                EXPECT_EQ(WithoutSurroundingQuotes(parameters[1]), value) << "value [" << value << "]";
            }
        }
    }
}

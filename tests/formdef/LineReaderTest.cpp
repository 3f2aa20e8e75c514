// Line splitting of a text and of a file read whole (the listing is checked
// with the error reports that show it).

#include <gtest/gtest.h>

#include "FormdefTestSupport.h"
#include "formdef/FormFile.h"

namespace {

std::vector<std::string> ReadAll(LineReader& reader)
{
    std::vector<std::string> lines;
    std::string line;
    while (reader.ReadLine(line)) lines.push_back(line);
    EXPECT_FALSE(reader.ReadLine(line));  // stays at the end
    EXPECT_EQ(reader.lineCount, static_cast<int>(lines.size()));
    return lines;
}

struct SplitCase {
    std::string input;
    std::vector<std::string> lines;
};

std::vector<SplitCase> SplitCases()
{
    std::string longLine(65535, 'x');
    std::string withNuls(200000, 'n');
    withNuls[0] = withNuls[99999] = withNuls[199999] = '\0';
    return {
        {"", {}},
        {"\n", {""}},
        {"\n\n", {"", ""}},
        {"a\r\nb\nc", {"a", "b", "c"}},
        {"x\ry\n", {"x\ry"}},       // a lone CR stays in the line
        {"a\r\r\n", {"a\r"}},       // only one CR before the LF goes
        {"z\r", {"z\r"}},           // no line end, so no CR is dropped
        {"\r\n\r\n", {"", ""}},
        {std::string("a\0b\nc", 5), {std::string("a\0b", 3), "c"}},
        // Line ends that straddle the file's 64 KiB read chunks.
        {longLine + "\r\ny", {longLine, "y"}},
        {longLine + "x\r\n\r\n", {longLine + "x", ""}},
        {withNuls + "\r\n" + withNuls, {withNuls, withNuls}},
    };
}

TEST(LineReaderSplitting, TextAndFileAgree)
{
    PortableTempFolder folder;
    int serial = 0;
    for (const SplitCase& c : SplitCases()) {
        SCOPED_TRACE("case " + std::to_string(serial));
        LineReader textReader(c.input);
        EXPECT_EQ(ReadAll(textReader), c.lines);

        std::string fileText;
        ASSERT_TRUE(ReadFormFile(folder.Write("case" + std::to_string(serial++), c.input), fileText));
        LineReader fileReader(fileText);
        EXPECT_EQ(ReadAll(fileReader), c.lines);
        EXPECT_EQ(fileReader.listing, textReader.listing);
    }
}

}  // namespace

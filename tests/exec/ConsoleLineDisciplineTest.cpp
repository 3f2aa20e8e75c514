// The line discipline without a window: its writes are applied to a plain
// screen model that behaves like the console's control (a replacing write
// takes the caret's line, which is always the last one).

#include <gtest/gtest.h>

#include <algorithm>

#include "exec/ConsoleLineDiscipline.h"
#include "exec/ConsoleLineCases.h"

namespace {

class Screen {
public:
    void Apply(const std::vector<ConsoleWrite>& writes)
    {
        for (const ConsoleWrite& write : writes) {
            if (write.replaceCaretLine) {
                size_t lineEnd = m_text.rfind('\n');
                m_text.erase(lineEnd == std::string::npos ? 0 : lineEnd + 1);
            }
            for (size_t i = 0; i < write.text.size(); ++i) {
                const bool bareCarriageReturn =
                    write.text[i] == '\r' && (i + 1 == write.text.size() || write.text[i + 1] != '\n');
                EXPECT_FALSE(bareCarriageReturn) << "a bare carriage return reached the control";
                if (write.text[i] != '\r')
                    m_text.push_back(write.text[i]);
            }
        }
    }
    const std::string& Text() const { return m_text; }

private:
    std::string m_text;
};

std::string Show(ConsoleLineDiscipline& lines, const std::vector<std::string>& pieces, bool endsWithBanner)
{
    Screen screen;
    for (const std::string& piece : pieces)
        screen.Apply(lines.Take(piece));
    if (endsWithBanner) {
        lines.SettleCarriageReturn();
        screen.Apply(lines.Take(ExitBannerCodeZero()));
    }
    return screen.Text();
}

TEST(ConsoleLineDiscipline, DisplayDoesNotDependOnWhereThePipeCutTheOutput)
{
    for (const ConsoleLineCase& lineCase : ConsoleLineCases()) {
        for (const std::vector<std::string>& delivery : DeliveriesOf(lineCase)) {
            ConsoleLineDiscipline lines;
            EXPECT_EQ(lineCase.shown, Show(lines, delivery, lineCase.endsWithExitBanner))
                << lineCase.name << " delivered as " << DescribeDelivery(delivery);
        }
    }
}

TEST(ConsoleLineDiscipline, CarriageReturnAtEndOfPieceWaitsButTextBeforeItIsWritten)
{
    ConsoleLineDiscipline lines;
    std::vector<ConsoleWrite> writes = lines.Take("50%\r");
    ASSERT_EQ(1u, writes.size());
    EXPECT_EQ("50%", writes[0].text);
    EXPECT_TRUE(lines.CarriageReturnPending());

    // An empty piece cannot decide it either.
    EXPECT_TRUE(lines.Take("").empty());
    EXPECT_TRUE(lines.CarriageReturnPending());

    writes = lines.Take("60%");
    ASSERT_EQ(1u, writes.size());
    EXPECT_EQ("60%", writes[0].text);
    EXPECT_TRUE(writes[0].replaceCaretLine);
}

TEST(ConsoleLineDiscipline, OrdinaryOutputIsOneAppendPerPiece)
{
    // One write per piece keeps the control's work per timer tick small.
    ConsoleLineDiscipline lines;
    std::string piece;
    for (int i = 0; i < 200; ++i)
        piece += "line " + std::to_string(i) + "\r\n";
    std::vector<ConsoleWrite> writes = lines.Take(piece);
    ASSERT_EQ(1u, writes.size());
    EXPECT_EQ(piece, writes[0].text);
    EXPECT_FALSE(writes[0].replaceCaretLine);
}

// Each write costs the control a selection and an insertion; an endless
// line costs it more at every insertion. A piece makes one write, and for
// the view a long line is continued on the next, never inside a UTF-8
// character.
TEST(ConsoleLineDiscipline, APieceIsOneWriteAndEndlessLinesAreContinued)
{
    ConsoleLineDiscipline lines;
    std::vector<ConsoleWrite> progress = lines.Take("done\r\n\rcopy 1/3\rcopy 2/3\rcopy 3/3\r\nnext");
    lines.BreakForView(progress);
    ASSERT_EQ(1u, progress.size());
    EXPECT_EQ("done\r\ncopy 3/3\r\nnext", progress[0].text);
    EXPECT_FALSE(progress[0].replaceCaretLine);

    // "next" already holds 4 bytes of the line; a two-byte character
    // straddles the place where the line is full.
    std::string line(kMaxShownLineLength - 5, 'x');
    line += "\xC3\xA9";
    line += std::string(2 * kMaxShownLineLength, 'y');
    std::string shown;
    for (size_t at = 0; at < line.size(); at += 1000) {
        std::vector<ConsoleWrite> writes = lines.Take(line.substr(at, 1000));
        lines.BreakForView(writes);
        for (const ConsoleWrite& write : writes)
            shown += write.text;
    }
    EXPECT_EQ(kMaxShownLineLength - 5 + 2, shown.find("\r\n")) << "after the whole character";
    size_t longest = 4, current = 4;
    std::string joined;
    for (size_t i = 0; i < shown.size(); ++i) {
        if (shown.compare(i, 2, "\r\n") == 0) {
            current = 0;
            ++i;
            continue;
        }
        joined.push_back(shown[i]);
        longest = std::max(longest, ++current);
    }
    EXPECT_EQ(line, joined);
    EXPECT_LE(longest, kMaxShownLineLength + 1);
}

}  // namespace

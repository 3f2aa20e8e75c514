// The console's windowless pieces: escape sequences, the transcript, the
// typed line, crash exit codes and the queue between reader and window.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "exec/ConsoleEscapes.h"
#include "exec/ConsoleLineEditor.h"
#include "exec/ConsoleTranscript.h"
#include "exec/ExitCodeNames.h"
#include "exec/OutputQueue.h"

namespace {

// Colour sequences stay (whole, however the pipe cut them) and turn into
// styles; every other sequence is gone, and the plain text has none.
TEST(ConsoleEscapes, StyleSequencesStayWholeOthersGoWhereverThePipeCutThem)
{
    const std::string written =
        "\x1B[1;31mRED\x1B[0m \x1B]0;title\x07plain\x1B[2K\x1B[38;5;208mX\x1B[38;2;1;2;3mY\x1B(B\x1B[m.\r\n";
    const std::string kept = "\x1B[1;31mRED\x1B[0m plain\x1B[38;5;208mX\x1B[38;2;1;2;3mY\x1B[m.\r\n";
    for (size_t cut = 0; cut <= written.size(); ++cut) {
        ConsoleEscapeFilter filter;
        std::string shown = filter.Filter(written.substr(0, cut));
        shown += filter.Filter(written.substr(cut));
        EXPECT_EQ(kept, shown) << cut;
    }
    EXPECT_EQ("RED plainXY.\r\n", WithoutStyleSequences(kept));

    std::vector<std::pair<std::string, TextStyle>> runs;
    TextStyle style;
    ForEachStyledRun(kept, style, [&](const std::string& run, const TextStyle& s) { runs.push_back({ run, s }); });
    ASSERT_EQ(5u, runs.size());
    EXPECT_TRUE(runs[0].second.bold);
    EXPECT_EQ(0x800000, runs[0].second.foreground);
    EXPECT_EQ(TextStyle(), runs[1].second);
    EXPECT_EQ(0xFF8700, runs[2].second.foreground);
    EXPECT_EQ(0x010203, runs[3].second.foreground);
    EXPECT_EQ(TextStyle(), style) << "reset at the end";
}

// Long lines whole, progress lines as they ended, CR LF line ends, also
// once most of it lives in the spill file, which goes with the transcript.
TEST(ConsoleTranscript, KeepsEveryLineWholeAndItsSpillFileGoesWithIt)
{
    std::string spillPath;
    std::string expected;
    {
        ConsoleTranscript transcript(
            [&](std::string& path) {
                path = testing::TempDir() + "transcript-spill.tmp";
                spillPath = path;
                return std::fopen(path.c_str(), "w+b");
            },
            1000);
        const std::string longLine(20000, 'x');
        transcript.Apply({ "first\r\n" + longLine, false });
        transcript.Apply({ "\r\n50%", false });
        transcript.Apply({ "100%", true });
        transcript.Apply({ "\nlf only\nab", false });
        transcript.EraseLastCharacter();
        transcript.Apply({ "\xC3\xA9", false });
        transcript.EraseLastCharacter();
        expected = "first\r\n" + longLine + "\r\n100%\r\nlf only\r\na";
        EXPECT_TRUE(transcript.Spilled());
        EXPECT_EQ(expected, transcript.Text());
        transcript.Apply({ "fter\r\n", false });
        EXPECT_EQ(expected + "fter\r\n", transcript.Text()) << "writing goes on after a read";
        ASSERT_FALSE(spillPath.empty());
    }
    EXPECT_EQ(nullptr, std::fopen(spillPath.c_str(), "rb")) << "the spill file is gone";
}

// As a console edits a line: echo, Backspace, Enter; the child reads the
// encoding it writes, and no character is lost.
TEST(ConsoleLineEditor, EditsTheLineAndSendsItInTheChildsEncoding)
{
    ConsoleLineEditor editor;
    std::string echo;
    for (char16_t c : std::u16string(u"yes"))
        echo += editor.Type(c);
    bool echoed = false;
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(editor.Erase(echoed) && echoed);
    EXPECT_FALSE(editor.Erase(echoed));
    for (char16_t c : std::u16string(u"no\t\xD83D\xDE00"))
        echo += editor.Type(c);
    EXPECT_EQ("yesno\xF0\x9F\x98\x80", echo) << "the tab is not echoed; the emoji shows once whole";
    EXPECT_EQ("no\t\xF0\x9F\x98\x80", editor.TakeLine());
    EXPECT_TRUE(editor.Empty());

    // A stand-in OEM code page that has "é" only.
    const ToOemExactly oem = [](const std::string& utf8, std::string& out) {
        out.clear();
        for (size_t i = 0; i < utf8.size(); ++i) {
            if (utf8.compare(i, 2, "\xC3\xA9") == 0) {
                out.push_back('\x82');
                ++i;
            } else if (static_cast<unsigned char>(utf8[i]) < 0x80) {
                out.push_back(utf8[i]);
            } else {
                return false;
            }
        }
        return true;
    };
    EXPECT_EQ("caf\x82", TypedLineForChild("caf\xC3\xA9", false, oem));
    EXPECT_EQ("caf\xC3\xA9", TypedLineForChild("caf\xC3\xA9", true, oem));
    EXPECT_EQ("\xE2\x82\xAC", TypedLineForChild("\xE2\x82\xAC", false, oem)) << "lacking in OEM: UTF-8, not dropped";
}

TEST(ExitCodeNames, CrashCodesAreNamedOrdinaryCodesAreNot)
{
    EXPECT_EQ("0xC0000005: access violation", DescribeCrashExitCode(0xC0000005));
    EXPECT_EQ("0xC00000FD: stack overflow", DescribeCrashExitCode(0xC00000FD));
    EXPECT_EQ("0xC0001234: unknown exception", DescribeCrashExitCode(0xC0001234));
    for (uint32_t ordinary : { 0u, 1u, 255u, 0xFFFFFFFFu, 0x80000000u })
        EXPECT_EQ("", DescribeCrashExitCode(ordinary)) << ordinary;
}

// The reader waits while the queue is full and never once it is abandoned;
// the taker gets every byte in order and then the end.
TEST(OutputQueue, BoundedInOrderAndNeverBlocksAnAbandonedReader)
{
    OutputQueue queue(100);
    std::thread reader([&] {
        for (int i = 0; i < 1000; ++i)
            queue.Put(std::to_string(i % 10).c_str(), 1);
        queue.Finish();
    });
    std::string all, piece;
    while (queue.Take(piece, 7)) {
        all += piece;
        EXPECT_LE(queue.Queued(), 100u);
        if (piece.empty())
            queue.WaitForOutput(50);
    }
    reader.join();
    ASSERT_EQ(1000u, all.size());
    for (size_t i = 0; i < all.size(); ++i)
        ASSERT_EQ(static_cast<char>('0' + i % 10), all[i]) << i;
    EXPECT_LE(queue.PeakQueued(), 100u);

    OutputQueue abandoned(10);
    abandoned.Put("0123456789", 10);
    std::thread blocked([&] { abandoned.Put("more", 4); });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    abandoned.Abandon();
    blocked.join();  // returns: the bytes are dropped
    abandoned.Put("dropped", 7);
    EXPECT_EQ(0u, abandoned.Queued());
}

}  // namespace

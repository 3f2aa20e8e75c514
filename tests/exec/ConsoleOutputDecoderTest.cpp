// Child output to UTF-8, with a stand-in OEM code page: bytes from 0x80 up
// show as [XX], and 0x81 starts a two-byte character shown as {81XX}.

#include <gtest/gtest.h>

#include <cstdio>

#include "exec/ConsoleOutputDecoder.h"

namespace {

std::string FakeOemToUtf8(const std::string& bytes)
{
    std::string out;
    char hex[8];
    for (size_t i = 0; i < bytes.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        if (b == 0x81 && i + 1 < bytes.size()) {
            snprintf(hex, sizeof hex, "{81%02X}", static_cast<unsigned char>(bytes[++i]));
            out += hex;
        } else if (b >= 0x80) {
            snprintf(hex, sizeof hex, "[%02X]", b);
            out += hex;
        } else {
            out.push_back(static_cast<char>(b));
        }
    }
    return out;
}

ConsoleOutputDecoder MakeDecoder()
{
    return ConsoleOutputDecoder(FakeOemToUtf8, [](unsigned char b) { return b == 0x81; });
}

std::string DecodeInTwo(const std::string& bytes, size_t cut, ConsoleOutputDecoder& decoder)
{
    std::string shown = decoder.Decode(bytes.substr(0, cut));
    shown += decoder.Decode(bytes.substr(cut));
    return shown + decoder.Flush();
}

TEST(ConsoleOutputDecoder, Utf8CutAnywhereShowsEachCharacterOnceAndRight)
{
    // Two-, three- and four-byte characters between ASCII.
    const std::string text = "a\xC3\xA9-\xE2\x82\xAC-\xF0\x9F\x98\x80z";
    for (size_t cut = 0; cut <= text.size(); ++cut) {
        ConsoleOutputDecoder decoder = MakeDecoder();
        EXPECT_EQ(text, DecodeInTwo(text, cut, decoder)) << "cut at " << cut;
        EXPECT_TRUE(decoder.SawUtf8());
        EXPECT_FALSE(decoder.IsOem());
    }
}

// One stray byte spoils its own line only, and the same bytes show the same
// wherever the pipe cut them.
TEST(ConsoleOutputDecoder, EachLineIsUtf8WhenItIsValidUtf8WhereverThePipeCutIt)
{
    const std::string text = "h\xC3\xA9llo \xE2\x82\xAC\r\ncaf\x82\rn\xC3\xA9" "e\n";
    for (size_t cut = 0; cut <= text.size(); ++cut) {
        ConsoleOutputDecoder decoder = MakeDecoder();
        EXPECT_EQ("h\xC3\xA9llo \xE2\x82\xAC\r\ncaf[82]\rn\xC3\xA9" "e\n", DecodeInTwo(text, cut, decoder))
            << "cut at " << cut;
        EXPECT_TRUE(decoder.SawUtf8()) << "the last line with such characters was UTF-8";
    }
    // A lone accented letter, an overlong form, a surrogate: not UTF-8.
    for (const std::string& line : { std::string("caf\x82\n"), std::string("\xC0\xAF\n"), std::string("\xED\xA0\x80\n") }) {
        ConsoleOutputDecoder decoder = MakeDecoder();
        decoder.Decode(line);
        EXPECT_TRUE(decoder.IsOem());
    }
    // An unfinished line shows its ASCII beginning at once.
    ConsoleOutputDecoder decoder = MakeDecoder();
    EXPECT_EQ("Name: ", decoder.Decode("Name: \xC3"));
    EXPECT_EQ("", decoder.Decode("\xA9"));
    EXPECT_EQ("\xC3\xA9", decoder.Flush());
}

TEST(ConsoleOutputDecoder, OemTwoByteCharacterCutBetweenPiecesShowsOnce)
{
    const std::string text = "\x82x\x81\x40y";
    for (size_t cut = 0; cut <= text.size(); ++cut) {
        ConsoleOutputDecoder fresh = MakeDecoder();
        EXPECT_EQ("[82]x{8140}y", DecodeInTwo(text, cut, fresh)) << "cut at " << cut;
    }
}

TEST(ConsoleOutputDecoder, AnUnfinishedCharacterAtTheEndIsShownAsOem)
{
    ConsoleOutputDecoder decoder = MakeDecoder();
    EXPECT_EQ("ab", decoder.Decode("ab\xE2\x82"));
    EXPECT_EQ("[E2][82]", decoder.Flush());
    EXPECT_EQ("", decoder.Flush());
    decoder.Reset();
    EXPECT_EQ("\xC3\xA9\n", decoder.Decode("\xC3\xA9\n"));
}

}  // namespace

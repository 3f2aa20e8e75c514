// Form files in every encoding an editor saves, and files that are no text.

#include <gtest/gtest.h>

#include "FormdefTestSupport.h"
#include "formdef/FormFile.h"
#include "formdef/FormTextDecoding.h"

namespace {

// ISO 8859-1 stands in for the system's legacy code page; the program's
// own text is marked so that a test sees that every path goes through it.
class Latin1CodePages : public TextCodePages {
public:
    Latin1CodePages() { SetTextCodePages(this); }
    ~Latin1CodePages() override { SetTextCodePages(nullptr); }
    std::string LegacyToUtf8(const std::string& bytes) const override
    {
        std::string out;
        for (unsigned char c : bytes) {
            if (c < 0x80) {
                out += static_cast<char>(c);
            } else {
                out += static_cast<char>(0xC0 | (c >> 6));
                out += static_cast<char>(0x80 | (c & 0x3F));
            }
        }
        return out;
    }
    std::string Utf8ToProgram(const std::string& text) const override { return "<" + text + ">"; }
};

std::string Utf16(const std::u16string& units, bool bigEndian)
{
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t unit : units) {
        char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? std::string{ high, low } : std::string{ low, high };
    }
    return bytes;
}

TEST(FormTextDecoding, EveryEncodingBecomesTheProgramsText)
{
    Latin1CodePages codePages;
    const std::string label = "Gr\xC3\xBC\xC3\x9F" "e \xE4\xB8\xAD\xF0\x9F\x98\x80";  // Grüße 中😀
    const std::u16string label16 = u"Gr\u00FC\u00DFe \u4E2D\U0001F600";
    struct Case {
        std::string bytes;
        FormTextEncoding encoding;
        std::string text;
    } cases[] = {
        { "tool\r\n" + label, FormTextEncoding::Utf8, "<tool\r\n" + label + ">" },
        { "\xEF\xBB\xBF{{batch gui}}", FormTextEncoding::Utf8WithMark, "<{{batch gui}}>" },
        { Utf16(u"tool\r\n" + label16, false), FormTextEncoding::Utf16LE, "<tool\r\n" + label + ">" },
        { Utf16(u"tool\r\n" + label16, true), FormTextEncoding::Utf16BE, "<tool\r\n" + label + ">" },
        { "Gr\xFC\xDF" "e", FormTextEncoding::Legacy, "<Gr\xC3\xBC\xC3\x9F" "e>" },
        // Not UTF-8: overlong, encoded surrogate, above U+10FFFF, cut short.
        { "\xC0\xAF", FormTextEncoding::Legacy, "<\xC3\x80\xC2\xAF>" },
        { "\xED\xA0\x80", FormTextEncoding::Legacy, "<\xC3\xAD\xC2\xA0\xC2\x80>" },
        { "\xF4\x90\x80\x80", FormTextEncoding::Legacy, "<\xC3\xB4\xC2\x90\xC2\x80\xC2\x80>" },
        { "x\xE4\xB8", FormTextEncoding::Legacy, "<x\xC3\xA4\xC2\xB8>" },
        { "", FormTextEncoding::Utf8, "<>" },
    };
    for (const Case& c : cases) {
        FormTextEncoding found = FormTextEncoding::Utf8;
        EXPECT_EQ(DecodeFormText(c.bytes, &found), c.text);
        EXPECT_EQ(found, c.encoding) << c.text;
    }
    // A broken surrogate pair or a lone last byte is replaced, never dropped.
    EXPECT_EQ(Utf16ToUtf8(std::string("\x3D\xD8" "a\0" "b", 5), false), "\xEF\xBF\xBD" "a\xEF\xBF\xBD");
    EXPECT_EQ(Utf16ToUtf8(std::string("\xDC\x00\x00" "c", 4), true), "\xEF\xBF\xBD" "c");
}

TEST(FormTextDecoding, NulBytesAreReportedAtTheirLineButUtf16IsText)
{
    PortableTempFolder folder;
    RecordingPresenter presenter;
    CFormModel model;
    EXPECT_FALSE(model.ParseFile(folder.Write("cut.gui", std::string("tool\r\ndesc\r\n-a\0x First\r\n-b Second\r\n", 35))));
    ASSERT_EQ(presenter.reports.size(), 1u);
    EXPECT_EQ(presenter.reports[0].title, "Parse Error at Line 3");
    EXPECT_EQ(presenter.reports[0].text, "01: tool\r\n02: desc\r\n03: -a<NUL>x First\r\n"
                                         ">>> ERROR AT LINE 3: Line contains a NUL byte: a form definition "
                                         "must be a text file\r\n");
    EXPECT_TRUE(model.m_controls.empty());
    EXPECT_EQ(presenter.quitRequests, 1);

    // In line 1 nothing is read as the command.
    EXPECT_FALSE(model.ParseFile(folder.Write("first.gui", std::string("rm\0 -rf x\nd\n", 12))));
    ASSERT_EQ(presenter.reports.size(), 2u);
    EXPECT_EQ(presenter.reports[1].title, "Parse Error at Line 1");
    EXPECT_EQ(model.m_strCommand, "");

    ASSERT_TRUE(model.ParseFile(folder.Write("wide.gui", Utf16(u"tool\r\ndesc\r\n-a First\r\n", false))));
    EXPECT_EQ(presenter.reports.size(), 2u);
    EXPECT_EQ(model.m_strCommand, "tool");
    ASSERT_EQ(model.m_controls.size(), 1u);
    EXPECT_EQ(model.m_controls[0]->m_strLabel, "First");
}

}  // namespace

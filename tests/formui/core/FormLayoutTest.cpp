// The form's layout at every display scale, checked by what a user would
// see go wrong: text cut off, windows over each other, windows outside the
// form, required rows outside their box. Text is measured by a stand-in
// font whose size follows the DPI, as a real font's does.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/Diag.h"
#include "common/DpiScale.h"
#include "formui/FormLayout.h"

namespace {

// Characters 5 pixels wide and lines 13 high at 96 DPI, wrapped at spaces.
class ScaledFontMeasure : public LayoutTextMeasure {
public:
    explicit ScaledFontMeasure(int dpi) : m_char(ScaleForDpi(5, dpi)), m_line(ScaleForDpi(13, dpi)) {}
    int Height(const std::string& text, int width) override
    {
        const int perLine = std::max(1, width / m_char);
        int lines = 1, used = 0;
        size_t start = 0;
        while (start <= text.size()) {
            size_t end = text.find(' ', start);
            const int word = static_cast<int>((end == std::string::npos ? text.size() : end) - start);
            if (used > 0 && used + 1 + word > perLine) {
                ++lines;
                used = word;
            } else {
                used += (used > 0 ? 1 : 0) + word;
            }
            lines += std::max(0, used - 1) / perLine;
            used = used > perLine ? used % perLine : used;
            if (end == std::string::npos)
                break;
            start = end + 1;
        }
        return lines * m_line;
    }
    int SingleLineWidth(const std::string& text) override { return static_cast<int>(text.size()) * m_char; }
    int ActionButtonTextHeight(size_t item, int width) override { return Height(items->at(item).buttonText, width); }
    int Line() const { return m_line; }
    const std::vector<LayoutItem>* items = nullptr;

private:
    int m_char, m_line;
};

LayoutItem Field(bool required, const std::string& label, bool path = false, bool dropDown = false)
{
    LayoutItem item;
    item.required = required;
    item.pathType = path;
    item.hasInput = !dropDown;
    item.hasDropDown = dropDown;
    item.dropDownText = dropDown ? "<select_drive>" : "";
    item.hasLabel = true;
    item.labelText = label + (path ? ":" : "");
    return item;
}

LayoutItem Button(const std::string& text, int group = -1, bool required = false, bool typed = false)
{
    LayoutItem item;
    item.required = required;
    item.radioGroup = group;
    item.hasButton = true;
    item.hasInput = typed;
    item.hasLabel = typed;
    item.buttonText = typed ? text.substr(0, text.find(' ')) : text;
    item.labelText = typed ? text.substr(text.find(' ') + 1) : "";
    return item;
}

const std::string kLong =
    "a label that goes on long enough to wrap onto several lines of any form width, telling what the option does";

FormLayoutInput EveryKind(int dpi)
{
    FormLayoutInput input;
    input.dpi = dpi;
    input.clientWidth = ScaleForDpi(534, dpi);
    input.hasDescription = true;
    input.description = "A description " + kLong;
    input.hasGroupBox = true;
    input.items = { Field(true, "Name " + kLong),
                    Field(true, "File " + kLong, true),
                    Button("--fast A fast choice " + kLong, 0, true),
                    Button("--level-of-compression Level " + kLong, 0, true, true),
                    Field(false, "-n A number"),
                    Field(false, "-d Drive " + kLong, false, true),
                    Button("-v Verbose " + kLong),
                    Button("/x Typed " + kLong, 1, false, true),
                    Button("/y Untyped", 1) };
    LayoutItem action = Button("Go " + kLong);
    action.actionButton = true;
    input.items.push_back(action);
    return input;
}

bool Overlap(const LayoutBox& a, const LayoutBox& b)
{
    return a.width > 0 && b.width > 0 && a.x < b.Right() && b.x < a.Right() && a.y < b.Bottom() && b.y < a.Bottom();
}

bool Inside(const LayoutBox& inner, const LayoutBox& outer)
{
    return inner.x >= outer.x && inner.y >= outer.y && inner.Right() <= outer.Right() && inner.Bottom() <= outer.Bottom();
}

}  // namespace

TEST(FormLayout, EveryKindFitsWithoutOverlapAtEveryScale)
{
    for (int dpi : { 96, 120, 144, 192 }) {
        SCOPED_TRACE("dpi " + std::to_string(dpi));
        const FormLayoutInput input = EveryKind(dpi);
        ScaledFontMeasure font(dpi);
        font.items = &input.items;
        DiagCapture quiet;
        const FormLayoutResult layout = LayOutForm(input, font);
        const FormFrameMetrics frame = FormFrameMetricsFor(dpi);
        const LayoutBox content = { 0, 0, input.clientWidth - frame.scrollStripWidth, layout.contentHeight };

        // Each window with its text and the room its frame or glyph keeps
        // beside the text; a text without spaces must fit on one line.
        struct Shown {
            LayoutBox box;
            std::string text;
            int inset96;
        };
        std::vector<Shown> shown = { { layout.run, "Run", 16 }, { layout.description, input.description, 0 } };
        for (size_t i = 0; i < input.items.size(); ++i) {
            const LayoutItem& item = input.items[i];
            const ItemBoxes& boxes = layout.items[i];
            ASSERT_TRUE(boxes.placed) << i;
            if (item.hasButton)
                shown.push_back({ boxes.button, item.buttonText, item.actionButton ? 16 : 20 });
            if (item.hasInput)
                shown.push_back({ boxes.input, "", 0 });
            if (item.hasDropDown)
                shown.push_back({ boxes.input, "<select_drive>", 20 });
            if (item.hasLabel)
                shown.push_back({ boxes.label, item.labelText, 0 });
            if (item.pathType)
                shown.push_back({ boxes.browse, input.browseText, 8 });
            if (item.required) {
                ASSERT_TRUE(layout.groupBoxShown);
                // Below the box's caption line, inside its frame.
                EXPECT_GE(boxes.rowY, layout.groupBox.y + font.Line()) << i;
                EXPECT_TRUE(Inside({ layout.groupBox.x, boxes.rowY, layout.groupBox.width, boxes.rowHeight },
                                   layout.groupBox)) << i;
            }
        }
        EXPECT_TRUE(Inside(layout.groupBox, content));
        for (size_t a = 0; a < shown.size(); ++a) {
            const LayoutBox& box = shown[a].box;
            const std::string& text = shown[a].text;
            const int room = box.width - ScaleForDpi(shown[a].inset96, dpi);
            EXPECT_TRUE(Inside(box, content)) << text;
            if (!text.empty() && text.find(' ') == std::string::npos) {
                EXPECT_LE(font.SingleLineWidth(text), room) << text;
            } else if (!text.empty()) {
                EXPECT_LE(font.Height(text, room), box.height) << text;
            }
            for (size_t b = a + 1; b < shown.size(); ++b)
                EXPECT_FALSE(Overlap(box, shown[b].box)) << text << " / " << shown[b].text;
        }
    }
}

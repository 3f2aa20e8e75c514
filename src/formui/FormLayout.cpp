// The form's flow layout. Every constant is in pixels at 96 DPI and goes
// through Px(), so at 96 DPI the layout is exactly the one written here.

#include "formui/FormLayout.h"

#include <algorithm>

#include "common/Diag.h"
#include "common/DpiScale.h"
#include "formui/FormGeometry.h"

namespace {

constexpr int kRowHeight = 20;         // edit boxes, typed radios, Browse buttons
constexpr int kGap = 9;                // after every control
constexpr int kRadioGap = 5;           // between members of one radio group
constexpr int kBlockGap = 10;          // between the required and the optional block
constexpr int kLabelGap = 5;           // between an input and the label to its right
constexpr int kLabelToInputGap = 2;    // a path field's label above its edit box
constexpr int kBrowseWidth = 60;
constexpr int kBrowseTextInset = 8;    // the least room a Browse button keeps around its text
constexpr int kDropDownArrowRoom = 23; // a drop-down's arrow (17) and frame beside its text
constexpr int kBrowseGap = 5;          // between a path's edit box and its Browse button
constexpr int kTypedRadioWidth = 50;   // radio button of a typed radio, showing its flag; its
                                       // input and the label follow
constexpr int kButtonGlyphWidth = 20;  // the check box or radio circle and the space before the text
constexpr int kRequiredIndent = 5;     // inside the Required box, rows sit further right
constexpr int kPushButtonTextInset = 16;   // horizontal room a push button keeps around its text
constexpr int kPushButtonTextPadding = 12; // vertical room a push button adds to its text
constexpr int kRunButtonWidth = 60;
constexpr int kRunButtonHeight = 25;
constexpr int kHeaderGap = 20;         // below the description or the Run button
constexpr int kGroupX = 5;             // the Required box, left of the rows it frames
constexpr int kGroupCaptionSpace = 15; // above the first required row, for the box's caption
constexpr int kGroupBottomSpace = 5;   // below the last required row
constexpr int kNoRequiredTop = 99999;  // the top reported while no required row was seen
constexpr size_t kLoggedTextLength = 50;    // of a button's text on the diagnostic line
constexpr int kMinDialogHeight = 90;
constexpr int kScreenReserve = 150;
constexpr int kFrameAllowance = 30;
constexpr int kLineStep = 20;

class FlowLayout {
public:
    FlowLayout(const FormLayoutInput& input, LayoutTextMeasure& measure, FormLayoutResult& result)
        : m_input(input), m_measure(measure), m_result(result), m_dpi(input.dpi),
          W(input.clientWidth - 2 * Px(kMargin) - Px(kScrollStripWidth))
    {
    }

    int Px(int value96) const { return ScaleForDpi(value96, m_dpi); }
    int ContentWidth() const { return W; }

    // The three kinds a required control can be placed as; anything else
    // keeps y = 0 and height 0.
    void PlaceRequired(size_t index)
    {
        const LayoutItem& item = m_input.items[index];
        ItemBoxes& boxes = m_result.items[index];
        const bool inGroup = item.radioGroup >= 0;
        const int i = static_cast<int>(index);
        if (inGroup && item.hasButton && item.hasInput) {
            PlaceTypedRadio(item, boxes, Px(kRequiredIndent));
            Diag("  Positioned required typed-radio %d at Y=%d, Height=%d\n", i, boxes.rowY, boxes.rowHeight);
            y += boxes.rowHeight + Px(kGap);
        } else if (inGroup && item.hasButton) {
            PlaceFullWidthButton(item, boxes);
            Diag("  Positioned required typeless-radio %d at Y=%d, Height=%d\n", i, boxes.rowY, boxes.rowHeight);
            y += boxes.rowHeight + Px(kRadioGap);
        } else if (item.hasLabel) {
            PlaceField(item, boxes, i, false);
            Diag("  Positioned required control %d at Y=%d, Height=%d, Next Y=%d\n", i, boxes.rowY,
                 boxes.rowHeight, y);
        }
    }

    void PlaceOptional(size_t index)
    {
        const LayoutItem& item = m_input.items[index];
        ItemBoxes& boxes = m_result.items[index];
        const LayoutItem* next = index + 1 < m_input.items.size() ? &m_input.items[index + 1] : nullptr;
        const int i = static_cast<int>(index);
        if (item.actionButton && item.hasButton) {
            PlaceActionButton(index, boxes);
        } else if (!item.actionButton && item.hasButton) {
            const bool typedRadio = item.radioGroup >= 0 && item.hasInput;
            if (typedRadio)
                PlaceTypedRadio(item, boxes, 0);
            else
                PlaceFullWidthButton(item, boxes);
            const bool groupGoesOn = item.radioGroup >= 0 && next != nullptr && next->radioGroup == item.radioGroup;
            Diag("  Positioned %s %d at Y=%d, H=%d\n", typedRadio ? "typed-radio" : "checkbox", i, boxes.rowY,
                 boxes.rowHeight);
            y += boxes.rowHeight + Px(groupGoesOn ? kRadioGap : kGap);
        } else if (!item.hasButton && item.hasLabel) {
            PlaceField(item, boxes, i, true);
            Diag("  Positioned label+edit %d at Y=%d, Height=%d\n", i, boxes.rowY, boxes.rowHeight);
        }
    }

    int y = 0;

private:
    int Measure(const std::string& text, int width) { return m_measure.Height(text, width); }

    static void Record(ItemBoxes& boxes, int top, int height)
    {
        boxes.rowY = top;
        boxes.rowHeight = height;
        boxes.placed = true;
    }

    // Radio button with the flag, its input and its label to the right.
    void PlaceTypedRadio(const LayoutItem& item, ItemBoxes& boxes, int indent)
    {
        const int inputWidth = Px(kInputWidth);
        // A flag too long for the button would be cut off: the button grows
        // to fit it and the input and label move right.
        const int buttonWidth = std::max(Px(kTypedRadioWidth),
                                         m_measure.SingleLineWidth(item.buttonText) + Px(kButtonGlyphWidth));
        // The input follows the button straight away (at its own
        // position, not a rounded one of its own, so the two never meet).
        const int editX = Px(kMargin) + buttonWidth + indent;
        const int labelX = editX + inputWidth + Px(kLabelGap);
        int labelWidth = W - (labelX - Px(kMargin));
        labelWidth = std::max(labelWidth, 0);
        const int row = Px(kRowHeight);
        int height = row;
        if (item.hasLabel && labelWidth > 0)
            height = std::max(row, Measure(item.labelText, labelWidth));
        boxes.button = { Px(kMargin), y, buttonWidth, height };
        boxes.input = { editX, y, inputWidth, row };
        boxes.dropDown = { editX, y, inputWidth, Px(kDropDownHeight) };
        boxes.label = { labelX, y, labelWidth, height };
        Record(boxes, y, height);
    }

    // Checkbox or untyped radio: the button carries its own text.
    void PlaceFullWidthButton(const LayoutItem& item, ItemBoxes& boxes)
    {
        int height = Measure(item.buttonText, W - Px(kButtonGlyphWidth));
        boxes.button = { Px(kMargin), y, W, height };
        Record(boxes, y, height);
    }

    void PlaceActionButton(size_t index, ItemBoxes& boxes)
    {
        const std::string& text = m_input.items[index].buttonText;
        int textHeight = m_measure.ActionButtonTextHeight(index, W - Px(kPushButtonTextInset));
        Diag("  Button text: '%s'\n", text.substr(0, kLoggedTextLength).c_str());
        Diag("  Calculated text height: %d, total height: %d\n", textHeight, textHeight + Px(kPushButtonTextPadding));
        int height = std::max(textHeight + Px(kPushButtonTextPadding), Px(kRowHeight));
        boxes.button = { Px(kMargin), y, W, height };
        Record(boxes, y, height);
        Diag("  Positioned action button %d at Y=%d, Height=%d\n", static_cast<int>(index), y, height);
        y += height + Px(kGap);
    }

    void PlaceField(const LayoutItem& item, ItemBoxes& boxes, int index, bool optionalPass)
    {
        const int margin = Px(kMargin);
        const int row = Px(kRowHeight);
        if (item.pathType) {
            // Label on its own line(s); input and Browse button below.
            int labelHeight = Measure(item.labelText, W);
            boxes.label = { margin, y, W, labelHeight };
            int inputTop = y + labelHeight + Px(kLabelToInputGap);
            const int browseWidth =
                std::max(Px(kBrowseWidth), m_measure.SingleLineWidth(m_input.browseText) + Px(kBrowseTextInset));
            const int pathWidth = W - browseWidth - Px(kBrowseGap);
            boxes.input = { margin, inputTop, pathWidth, row };
            // A path field with a list of choices has no Browse button: the
            // list takes the whole width.
            boxes.dropDown = { margin, inputTop, W, Px(kDropDownHeight) };
            boxes.browse = { margin + W - browseWidth, inputTop, browseWidth, row };
            int height = labelHeight + Px(kLabelToInputGap) + row;
            Record(boxes, y, height);
            y += height + Px(kGap);
            return;
        }
        // Input on the left, label to its right, centred against each other.
        // A drop-down list is at least as wide as its widest item (a font
        // grows a little faster than the DPI at some sizes).
        int inputWidth = Px(kInputWidth);
        if (item.hasDropDown)
            inputWidth = std::max(inputWidth, m_measure.SingleLineWidth(item.dropDownText) + Px(kDropDownArrowRoom));
        const int labelX = margin + inputWidth + Px(kLabelGap);
        const int labelWidth = W - (labelX - margin);
        int labelHeight = Measure(item.labelText, labelWidth);
        int labelTop = y;
        int inputTop = y;
        if (labelHeight < row)
            labelTop = y + (row - labelHeight) / 2;
        else if (labelHeight > row)
            inputTop = y + (labelHeight - row) / 2;
        boxes.input = { margin, inputTop, inputWidth, row };
        boxes.dropDown = { margin, inputTop, inputWidth, Px(kDropDownHeight) };
        if (item.hasDropDown) {
            if (optionalPass)
                Diag("  Moving combo %d (Pass 2) to (%d,%d) W=%d, H=200\n", index, margin, inputTop, inputWidth);
            else
                Diag("  Moving combo %d to (%d,%d) W=%d, H=200\n", index, margin, inputTop, inputWidth);
        }
        boxes.label = { labelX, labelTop, labelWidth, labelHeight };
        int rowHeight = std::max(labelHeight, row);
        Record(boxes, y, rowHeight);
        y += rowHeight + Px(kGap);
    }

    const FormLayoutInput& m_input;
    LayoutTextMeasure& m_measure;
    FormLayoutResult& m_result;
    const int m_dpi;
    const int W;
};

void PlaceRequiredBox(const FormLayoutInput& input, FormLayoutResult& result, int contentWidth)
{
    auto px = [&](int value96) { return ScaleForDpi(value96, input.dpi); };
    if (!input.hasGroupBox) {
        Diag("WARNING: Required group box not created\n");
        return;
    }
    Diag("Found Required group box\n");
    int minY = kNoRequiredTop;
    int maxBottom = 0;
    bool found = false;
    for (size_t i = 0; i < input.items.size(); ++i) {
        const ItemBoxes& boxes = result.items[i];
        if (!input.items[i].required || boxes.rowY <= 0)
            continue;
        int bottom = boxes.rowY + boxes.rowHeight;
        Diag("  Required control %d: Y=%d, Height=%d, Bottom=%d\n", static_cast<int>(i), boxes.rowY,
             boxes.rowHeight, bottom);
        minY = std::min(minY, boxes.rowY);
        maxBottom = std::max(maxBottom, bottom);
        found = true;
    }
    Diag("Required field bounds: minY=%d, maxY=%d, hasRequired=%d\n", minY, maxBottom, found ? 1 : 0);
    if (!found) {
        Diag("No required fields found, hiding group box\n");
        return;
    }
    const int captionSpace = px(kGroupCaptionSpace);
    result.groupBox = { px(kGroupX), minY - captionSpace, contentWidth + 2 * px(kGroupX),
                        maxBottom - minY + captionSpace + px(kGroupBottomSpace) };
    result.groupBoxShown = true;
    Diag("Positioning required group box at (%d,%d) size (%dx%d)\n", result.groupBox.x, result.groupBox.y,
         result.groupBox.width, result.groupBox.height);
}

}  // namespace

FormLayoutResult LayOutForm(const FormLayoutInput& input, LayoutTextMeasure& measure)
{
    Diag("LayoutControls - Phase 2: Positioning labels and checkboxes\n");
    FormLayoutResult result;
    result.items.resize(input.items.size());
    FlowLayout flow(input, measure, result);
    auto px = [&](int value96) { return flow.Px(value96); };

    // The Run button at the top right, the description to its left.
    const int margin = px(kMargin);
    const int runX = input.clientWidth - px(kScrollStripWidth) - margin - px(kRunButtonWidth);
    const int runBottom = margin + px(kRunButtonHeight);
    const int descriptionWidth = runX - 2 * margin;
    result.run = { runX, margin, px(kRunButtonWidth), px(kRunButtonHeight) };

    if (input.hasDescription) {
        if (!input.description.empty()) {
            int height = measure.Height(input.description, descriptionWidth);
            result.description = { margin, margin, descriptionWidth, height };
            result.descriptionShown = true;
            flow.y = std::max(margin + height, runBottom) + px(kHeaderGap);
        } else {
            flow.y = runBottom + margin;
        }
    } else {
        flow.y = margin;
    }

    bool anyRequired = false;
    Diag("Pass 1: Required fields\n");
    for (size_t i = 0; i < input.items.size(); ++i) {
        if (input.items[i].required) {
            anyRequired = true;
            flow.PlaceRequired(i);
        }
    }
    Diag("Pass 2: Optional fields\n");
    if (anyRequired)
        flow.y += px(kBlockGap);
    for (size_t i = 0; i < input.items.size(); ++i) {
        if (!input.items[i].required)
            flow.PlaceOptional(i);
    }
    result.contentHeight = flow.y;
    Diag("LayoutControls complete - total content height: %d\n", result.contentHeight);

    PlaceRequiredBox(input, result, flow.ContentWidth());
    return result;
}

FormFrameMetrics FormFrameMetricsFor(int dpi)
{
    auto px = [dpi](int value96) { return ScaleForDpi(value96, dpi); };
    return { px(kScrollStripWidth), px(kMinDialogHeight), px(kScreenReserve), px(kFrameAllowance),
             px(kLineStep),         px(kDropDownHeight),  px(kInputWidth) };
}

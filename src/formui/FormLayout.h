#pragma once
// Where every window of a form goes, as plain arithmetic: the control rows
// in one top-to-bottom flow (the required block first, framed by the
// "Required" box, then the optional controls), the description and the Run
// button above them. Texts come measured by the caller in the fonts the
// windows will show them in; sizes are worked out for the window's DPI from
// constants written for 96 DPI. The form window only measures, places the
// rectangles and sizes itself to the content height.
//
// The layout writes the form's diagnostic lines of this phase as it goes.

#include <string>
#include <vector>

// Pixels in the content (the panel), y from the content's top.
struct LayoutBox {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int Right() const { return x + width; }
    int Bottom() const { return y + height; }
};

// One control of the form as the layout sees it: what it is and which of its
// windows exist, with their texts.
struct LayoutItem {
    bool required = false;
    bool actionButton = false;
    bool pathType = false;
    int radioGroup = -1;       // -1: in no radio group
    bool hasButton = false;    // check box, radio button or action button
    bool hasInput = false;     // edit box (or any other input in its place)
    bool hasLabel = false;
    bool hasDropDown = false;  // a drop-down list in the input's place
    std::string buttonText;
    std::string labelText;
    std::string dropDownText;  // an item the closed drop-down must show whole
};

// Where each of an item's windows goes; boxes of windows the item does not
// have are meaningless. `rowY` and `rowHeight` are 0 for a row not placed.
struct ItemBoxes {
    LayoutBox button;
    LayoutBox input;
    LayoutBox dropDown;  // the input's place (a path's whole width: it has no
                         // Browse button then), with the open list's height
    LayoutBox label;
    LayoutBox browse;
    int rowY = 0;
    int rowHeight = 0;
    bool placed = false;  // false: the item's windows stay where they are
};

// Text measured in the form's font (the action button's own font for
// `ActionButtonTextHeight`).
class LayoutTextMeasure {
public:
    virtual ~LayoutTextMeasure() = default;
    // The height of `text` wrapped at `width`.
    virtual int Height(const std::string& text, int width) = 0;
    // The width of `text` on one line.
    virtual int SingleLineWidth(const std::string& text) = 0;
    // The height of the action button `item`'s text wrapped at `width`.
    virtual int ActionButtonTextHeight(size_t item, int width) = 0;
};

struct FormLayoutInput {
    int clientWidth = 0;          // of the dialog, scroll-bar strip included
    int dpi = 96;
    bool hasDescription = false;  // the description's window exists
    std::string description;      // empty: the description is hidden
    bool hasGroupBox = false;     // the "Required" box's window exists
    std::string browseText = "Browse...";
    std::vector<LayoutItem> items;
};

struct FormLayoutResult {
    LayoutBox run;
    LayoutBox description;
    bool descriptionShown = false;
    LayoutBox groupBox;
    bool groupBoxShown = false;
    std::vector<ItemBoxes> items;  // one per input item
    int contentHeight = 0;
};

FormLayoutResult LayOutForm(const FormLayoutInput& input, LayoutTextMeasure& measure);

// Geometry of the form window outside its content, for `dpi`.
struct FormFrameMetrics {
    int scrollStripWidth;  // kept free at the right for the scroll bar
    int minDialogHeight;
    int screenReserve;     // kept free of the dialog at the bottom of its monitor
    int frameAllowance;    // the least outer height beyond the content
    int lineStep;          // one line of scrolling
    int dropDownHeight;    // a drop-down's open list
    int inputWidth;        // an ordinary field's input
};
FormFrameMetrics FormFrameMetricsFor(int dpi);

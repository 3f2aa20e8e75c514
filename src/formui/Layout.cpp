// Positions the form's windows in one top-to-bottom flow, sizes the panel
// and the dialog to the content, and scrolls the panel.

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "common/Diag.h"
#include "formui/FormGeometry.h"
#include "formui/PanelPlacement.h"
#include "formui/TavrelDlg.h"
#include "framework/Handles.h"

namespace {

constexpr int kRowHeight = 20;         // edit boxes, typed radios, Browse buttons
constexpr int kGap = 9;                // after every control
constexpr int kRadioGap = 5;           // between members of one radio group
constexpr int kBlockGap = 10;          // between the required and the optional block
constexpr int kLabelGap = 5;           // between an input and the label to its right
constexpr int kLabelX = kMargin + kInputWidth + kLabelGap;
constexpr int kLabelToInputGap = 2;    // a path field's label above its edit box
constexpr int kBrowseWidth = 60;
constexpr int kBrowseGap = 5;          // between a path's edit box and its Browse button
constexpr int kTypedRadioWidth = 50;   // radio button of a typed radio, showing its flag
constexpr int kTypedRadioEditX = 60;   // its edit box; the label follows the edit box
constexpr int kTypedRadioLabelX = kTypedRadioEditX + kInputWidth + kLabelGap;
constexpr int kButtonGlyphWidth = 20;  // the check box or radio circle and the space before the text
constexpr int kRequiredIndent = 5;     // inside the Required box, rows sit further right
constexpr int kPushButtonTextInset = 16;   // horizontal room a push button keeps around its text
constexpr int kPushButtonTextPadding = 12; // vertical room a push button adds to its text
constexpr int kRunButtonWidth = 60;
constexpr int kRunButtonHeight = 25;
constexpr int kHeaderGap = 20;         // below the description or the Run button
constexpr int kContentSideSpace = 2 * kMargin + kScrollStripWidth;  // client width minus content width
constexpr int kGroupX = 5;             // the Required box, left of the rows it frames
constexpr int kGroupCaptionSpace = 15; // above the first required row, for the box's caption
constexpr int kGroupBottomSpace = 5;   // below the last required row
constexpr int kNoRequiredTop = 99999;  // the top reported while no required row was seen
constexpr int kMeasureHeightLimit = 10000;  // taller than any label wraps to
constexpr size_t kLoggedTextLength = 50;    // of a button's text on the diagnostic line
constexpr int kMinDialogHeight = 90;
constexpr int kScreenReserve = 150;    // kept free of the dialog at the screen's bottom
constexpr int kFrameAllowance = 30;    // outer height beyond the content
constexpr int kLineStep = 20;          // one SB_LINEUP / SB_LINEDOWN

bool Exists(const CWnd* window) { return window != nullptr && window->IsWindow(); }

std::string TextOf(const CWnd* window) { return Exists(window) ? window->GetWindowText() : std::string(); }

int ClientHeightOf(const CWnd& window)
{
    RECT client = {};
    window.GetClientRect(&client);
    return client.bottom - client.top;
}

// Measures text in the dialog's font through one device context held for a
// whole layout: taking and releasing a context for each of a thousand
// labels costs more than the measuring itself.
class TextMeasure {
public:
    explicit TextMeasure(HWND window) : m_dc(window), m_font(m_dc.Get(), GuiFont()) {}

    // The height of `text` wrapped at `width`.
    int Height(const std::string& text, int width) { return Height(m_dc.Get(), text, width); }

    // The width of `text` on one line.
    int SingleLineWidth(const std::string& text)
    {
        RECT rect = { 0, 0, 0, 0 };
        ::DrawTextA(m_dc.Get(), text.c_str(), -1, &rect, DT_CALCRECT | DT_SINGLELINE);
        return rect.right - rect.left;
    }

    // The height of a button's text in the button's own font.
    int ButtonTextHeight(CWnd& button, int width)
    {
        HFONT font = button.GetFont();
        if (font == nullptr || font == GuiFont())
            return Height(button.GetWindowText(), width);
        WindowDC dc(button.m_hWnd);
        SelectedObject selected(dc.Get(), font);
        return Height(dc.Get(), button.GetWindowText(), width);
    }

    static int Height(HDC dc, const std::string& text, int width)
    {
        RECT rect = { 0, 0, width, kMeasureHeightLimit };
        ::DrawTextA(dc, text.c_str(), -1, &rect, DT_CALCRECT | DT_WORDBREAK);
        return rect.bottom - rect.top;
    }

private:
    WindowDC m_dc;
    SelectedObject m_font;
};

// The scroll message carries the thumb's position in 16 bits; while the user
// drags, the bar knows it in full. A message sent without a drag (the
// tracking position then differs) is taken as it stands.
int ThumbPosition(UINT messagePosition, int trackPosition)
{
    if ((static_cast<UINT>(trackPosition) & 0xFFFF) == (messagePosition & 0xFFFF))
        return trackPosition;
    return static_cast<int>(messagePosition);
}

class FlowLayout {
public:
    FlowLayout(CContentPanel& panel, TextMeasure& measure, int contentWidth)
        : m_panel(panel), m_measure(measure), W(contentWidth)
    {
    }

    // The three kinds a required control can be placed as; anything else
    // keeps y = 0 and height 0.
    void PlaceRequired(FormControl& control, int index)
    {
        const bool inGroup = control.Def().m_nRadioGroup >= 0;
        if (inGroup && control.m_pButton && control.m_pEdit) {
            PlaceTypedRadio(control, kRequiredIndent);
            Diag("  Positioned required typed-radio %d at Y=%d, Height=%d\n", index, control.m_nLayoutY,
                 control.m_nLayoutHeight);
            y += control.m_nLayoutHeight + kGap;
        } else if (inGroup && control.m_pButton) {
            PlaceFullWidthButton(control);
            Diag("  Positioned required typeless-radio %d at Y=%d, Height=%d\n", index,
                 control.m_nLayoutY, control.m_nLayoutHeight);
            y += control.m_nLayoutHeight + kRadioGap;
        } else if (control.m_pLabel) {
            PlaceField(control, index, false);
            Diag("  Positioned required control %d at Y=%d, Height=%d, Next Y=%d\n", index,
                 control.m_nLayoutY, control.m_nLayoutHeight, y);
        }
    }

    void PlaceOptional(FormControl& control, int index, const CControlDef* next)
    {
        const CControlDef& def = control.Def();
        if (def.m_bActionButton && control.m_pButton) {
            PlaceActionButton(control, index);
        } else if (!def.m_bActionButton && control.m_pButton) {
            const bool typedRadio = def.m_nRadioGroup >= 0 && control.m_pEdit;
            if (typedRadio)
                PlaceTypedRadio(control, 0);
            else
                PlaceFullWidthButton(control);
            const bool groupGoesOn =
                def.m_nRadioGroup >= 0 && next != nullptr && next->m_nRadioGroup == def.m_nRadioGroup;
            Diag("  Positioned %s %d at Y=%d, H=%d\n", typedRadio ? "typed-radio" : "checkbox", index,
                 control.m_nLayoutY, control.m_nLayoutHeight);
            y += control.m_nLayoutHeight + (groupGoesOn ? kRadioGap : kGap);
        } else if (!control.m_pButton && control.m_pLabel) {
            PlaceField(control, index, true);
            Diag("  Positioned label+edit %d at Y=%d, Height=%d\n", index, control.m_nLayoutY,
                 control.m_nLayoutHeight);
        }
    }

    int y = 0;

private:
    int Measure(const std::string& text, int width) { return m_measure.Height(text, width); }

    void Place(const std::unique_ptr<CWnd>& window, int x, int top, int width, int height)
    {
        m_panel.Place(window.get(), x, top, width, height);
    }

    static void Record(FormControl& control, int top, int height)
    {
        control.m_nLayoutY = top;
        control.m_nLayoutHeight = height;
    }

    // Radio button with the flag, its edit box and its label to the right.
    void PlaceTypedRadio(FormControl& control, int indent)
    {
        int editX = kTypedRadioEditX + indent;
        int labelX = kTypedRadioLabelX + indent;
        int labelWidth = W - (kTypedRadioLabelX - kMargin) - indent;
        // A flag too long for the 50-pixel button would be cut off: the
        // button grows to fit it and the edit box and label move right.
        int buttonWidth = kTypedRadioWidth;
        int needed = m_measure.SingleLineWidth(TextOf(control.m_pButton.get())) + kButtonGlyphWidth;
        if (needed > buttonWidth) {
            int extra = needed - buttonWidth;
            buttonWidth = needed;
            editX += extra;
            labelX += extra;
            labelWidth -= extra;
        }
        labelWidth = std::max(labelWidth, 0);
        int height = kRowHeight;
        if (control.m_pLabel && labelWidth > 0)
            height = std::max(kRowHeight, Measure(TextOf(control.m_pLabel.get()), labelWidth));
        Place(control.m_pButton, kMargin, y, buttonWidth, height);
        Place(control.m_pEdit, editX, y, kInputWidth, kRowHeight);
        Place(control.m_pLabel, labelX, y, labelWidth, height);
        Record(control, y, height);
    }

    // Checkbox or untyped radio: the button carries its own text.
    void PlaceFullWidthButton(FormControl& control)
    {
        int height = Measure(TextOf(control.m_pButton.get()), W - kButtonGlyphWidth);
        Place(control.m_pButton, kMargin, y, W, height);
        Record(control, y, height);
    }

    void PlaceActionButton(FormControl& control, int index)
    {
        std::string text = TextOf(control.m_pButton.get());
        int textHeight = m_measure.ButtonTextHeight(*control.m_pButton, W - kPushButtonTextInset);
        Diag("  Button text: '%s'\n", text.substr(0, kLoggedTextLength).c_str());
        Diag("  Calculated text height: %d, total height: %d\n", textHeight,
             textHeight + kPushButtonTextPadding);
        int height = std::max(textHeight + kPushButtonTextPadding, kRowHeight);
        Place(control.m_pButton, kMargin, y, W, height);
        Record(control, y, height);
        Diag("  Positioned action button %d at Y=%d, Height=%d\n", index, y, height);
        y += height + kGap;
    }

    void PlaceField(FormControl& control, int index, bool optionalPass)
    {
        const std::string label = TextOf(control.m_pLabel.get());
        if (control.Def().IsPathType()) {
            // Label on its own line(s); edit box and Browse button below.
            int labelHeight = Measure(label, W);
            Place(control.m_pLabel, kMargin, y, W, labelHeight);
            int row = y + labelHeight + kLabelToInputGap;
            Place(control.m_pEdit, kMargin, row, W - kBrowseWidth - kBrowseGap, kRowHeight);
            Place(control.m_pBrowse, kMargin + W - kBrowseWidth, row, kBrowseWidth, kRowHeight);
            // A path field with a list of choices has no Browse button.
            Place(control.m_pCombo, kMargin, row, W, kDropDownHeight);
            int height = labelHeight + kLabelToInputGap + kRowHeight;
            Record(control, y, height);
            y += height + kGap;
            return;
        }
        // Input on the left, label to its right, centred against each other.
        const int labelWidth = W - (kLabelX - kMargin);
        int labelHeight = Measure(label, labelWidth);
        int labelTop = y;
        int inputTop = y;
        if (labelHeight < kRowHeight)
            labelTop = y + (kRowHeight - labelHeight) / 2;
        else if (labelHeight > kRowHeight)
            inputTop = y + (labelHeight - kRowHeight) / 2;
        Place(control.m_pEdit, kMargin, inputTop, kInputWidth, kRowHeight);
        if (Exists(control.m_pCombo.get())) {
            if (optionalPass)
                Diag("  Moving combo %d (Pass 2) to (%d,%d) W=%d, H=200\n", index, kMargin, inputTop,
                     kInputWidth);
            else
                Diag("  Moving combo %d to (%d,%d) W=%d, H=200\n", index, kMargin, inputTop, kInputWidth);
            Place(control.m_pCombo, kMargin, inputTop, kInputWidth, kDropDownHeight);
        }
        Place(control.m_pLabel, kLabelX, labelTop, labelWidth, labelHeight);
        int rowHeight = std::max(labelHeight, kRowHeight);
        Record(control, y, rowHeight);
        y += rowHeight + kGap;
    }

    CContentPanel& m_panel;
    TextMeasure& m_measure;
    const int W;
};

}  // namespace

int CTavrelDlg::MeasureTextHeight(const std::string& text, int width)
{
    return TextMeasure(m_hWnd).Height(text, width);
}

void CTavrelDlg::LayoutControls()
{
    Diag("LayoutControls - Phase 2: Positioning labels and checkboxes\n");
    RECT client = {};
    GetClientRect(&client);
    const int CW = client.right - client.left;
    const int W = CW - kContentSideSpace;
    // The Run button at the top right, the description to its left.
    const int runX = CW - kScrollStripWidth - kMargin - kRunButtonWidth;
    const int runBottom = kMargin + kRunButtonHeight;
    const int descriptionWidth = runX - 2 * kMargin;

    if (m_btnRun.IsWindow())
        m_panel.Place(&m_btnRun, runX, kMargin, kRunButtonWidth, kRunButtonHeight);

    TextMeasure measure(m_hWnd);
    FlowLayout flow(m_panel, measure, W);
    if (m_staticDescription.IsWindow()) {
        std::string description = m_staticDescription.GetWindowText();
        if (!description.empty()) {
            m_staticDescription.ShowWindow(SW_SHOW);
            int height = measure.Height(description, descriptionWidth);
            m_panel.Place(&m_staticDescription, kMargin, kMargin, descriptionWidth, height);
            flow.y = std::max(kMargin + height, runBottom) + kHeaderGap;
        } else {
            m_staticDescription.ShowWindow(SW_HIDE);
            flow.y = runBottom + kMargin;
        }
    } else {
        flow.y = kMargin;
    }

    std::vector<FormControl>& controls = m_formControls;
    bool anyRequired = false;
    Diag("Pass 1: Required fields\n");
    for (size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].Def().m_bRequired) {
            anyRequired = true;
            flow.PlaceRequired(controls[i], static_cast<int>(i));
        }
    }
    Diag("Pass 2: Optional fields\n");
    if (anyRequired)
        flow.y += kBlockGap;
    for (size_t i = 0; i < controls.size(); ++i) {
        if (!controls[i].Def().m_bRequired) {
            const CControlDef* next = i + 1 < controls.size() ? &controls[i + 1].Def() : nullptr;
            flow.PlaceOptional(controls[i], static_cast<int>(i), next);
        }
    }
    m_nContentHeight = flow.y;
    Diag("LayoutControls complete - total content height: %d\n", m_nContentHeight);

    if (!m_groupRequired.IsWindow()) {
        Diag("WARNING: Required group box not created\n");
    } else {
        Diag("Found Required group box\n");
        int minY = kNoRequiredTop;
        int maxBottom = 0;
        bool found = false;
        for (size_t i = 0; i < controls.size(); ++i) {
            const FormControl& control = controls[i];
            if (!control.Def().m_bRequired || control.m_nLayoutY <= 0)
                continue;
            int bottom = control.m_nLayoutY + control.m_nLayoutHeight;
            Diag("  Required control %d: Y=%d, Height=%d, Bottom=%d\n", static_cast<int>(i),
                 control.m_nLayoutY, control.m_nLayoutHeight, bottom);
            minY = std::min(minY, control.m_nLayoutY);
            maxBottom = std::max(maxBottom, bottom);
            found = true;
        }
        Diag("Required field bounds: minY=%d, maxY=%d, hasRequired=%d\n", minY, maxBottom, found ? 1 : 0);
        if (found) {
            int boxY = minY - kGroupCaptionSpace;
            int boxWidth = W + 2 * kGroupX;
            int boxHeight = maxBottom - minY + kGroupCaptionSpace + kGroupBottomSpace;
            Diag("Positioning required group box at (%d,%d) size (%dx%d)\n", kGroupX, boxY, boxWidth,
                 boxHeight);
            m_panel.Place(&m_groupRequired, kGroupX, boxY, boxWidth, boxHeight);
            m_groupRequired.ShowWindow(SW_SHOW);
        } else {
            Diag("No required fields found, hiding group box\n");
            m_groupRequired.ShowWindow(SW_HIDE);
        }
    }

    RECT window = {};
    GetWindowRect(&window);
    const int oldWidth = window.right - window.left;
    const int oldHeight = window.bottom - window.top;
    if (m_panel.IsWindow()) {
        int panelHeight = PanelHeightFor(m_nContentHeight);
        m_panel.SetWindowPos(nullptr, 0, 0, CW - kScrollStripWidth, panelHeight,
                             SWP_NOMOVE | SWP_NOZORDER);
        Diag("Content panel resized to height: %d\n", panelHeight);
    }

    // The frame (caption and borders) takes 30 pixels or, on systems with a
    // thicker frame, what it really takes: the client area must hold the
    // content, or a scroll bar would appear over a dialog already narrowed
    // for having none.
    const int frameHeight = std::max(kFrameAllowance, oldHeight - static_cast<int>(client.bottom - client.top));
    int height = m_nContentHeight + frameHeight;
    const int maxHeight = ::GetSystemMetrics(SM_CYSCREEN) - kScreenReserve;
    bool scrollBarExpected = false;
    if (height < kMinDialogHeight) {
        height = kMinDialogHeight;
        Diag("Dialog height constrained to minimum: %d\n", height);
    } else if (height > maxHeight) {
        height = maxHeight;
        scrollBarExpected = true;
        Diag("Dialog height constrained to maximum: %d (scrollbar needed)\n", height);
    } else {
        Diag("Dialog sized to fit content: %d\n", height);
    }

    int width = oldWidth;
    if (!scrollBarExpected) {
        width -= kScrollStripWidth;
        Diag("No scrollbar needed - reducing width by %d pixels\n", kScrollStripWidth);
    }
    Diag("Resizing dialog from %dx%d to %dx%d\n", oldWidth, oldHeight, width, height);
    SetWindowPos(nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);

    GetClientRect(&client);
    m_nClientHeight = client.bottom - client.top;
    const int newClientWidth = client.right - client.left;
    Diag("Client height after resize: %d, Content height: %d\n", m_nClientHeight, m_nContentHeight);

    if (m_nContentHeight > m_nClientHeight) {
        Diag("Content (%d) exceeds client area (%d) - scrollbar needed\n", m_nContentHeight,
             m_nClientHeight);
        if (m_scrollBar.IsWindow()) {
            m_scrollBar.MoveWindow(newClientWidth - kScrollStripWidth, 0, kScrollStripWidth,
                                   m_nClientHeight, TRUE);
            m_scrollBar.ShowWindow(SW_SHOW);
            SCROLLINFO info = {};
            info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
            info.nMin = 0;
            info.nMax = m_nContentHeight - 1;
            info.nPage = static_cast<UINT>(m_nClientHeight);
            info.nPos = 0;
            m_scrollBar.SetScrollInfo(&info, TRUE);
        }
        m_nScrollPos = 0;
        Diag("Scrollbar enabled: range=0-%d, page=%d, positioned at x=%d, y=%d to %d\n",
             m_nContentHeight - m_nClientHeight, m_nClientHeight, newClientWidth - kScrollStripWidth, 0,
             m_nClientHeight);
    } else {
        Diag("Content (%d) fits in client area (%d) - no scrollbar needed\n", m_nContentHeight,
             m_nClientHeight);
        if (m_scrollBar.IsWindow())
            m_scrollBar.ShowWindow(SW_HIDE);
        m_nScrollPos = 0;
        Diag("Scrollbar hidden\n");
    }
}

void CTavrelDlg::OnSize(UINT type, int cx, int cy)
{
    Default();
    if (type != SIZE_MINIMIZED) {
        m_nClientHeight = cy;
        UpdateScrollBar();
    }
}

void CTavrelDlg::UpdateScrollBar()
{
    if (m_nClientHeight == 0 || m_nContentHeight == 0)
        return;  // before the first layout
    if (!m_scrollBar.IsWindow())
        return;
    if (m_nContentHeight <= m_nClientHeight) {
        m_scrollBar.ShowWindow(SW_HIDE);
        m_nScrollPos = 0;
        return;
    }
    RECT client = {};
    GetClientRect(&client);
    m_scrollBar.MoveWindow(client.right - client.left - kScrollStripWidth, 0, kScrollStripWidth,
                           m_nClientHeight, TRUE);
    m_scrollBar.ShowWindow(SW_SHOW);
    SCROLLINFO info = {};
    info.fMask = SIF_RANGE | SIF_PAGE;
    info.nMin = 0;
    info.nMax = m_nContentHeight - m_nClientHeight;
    info.nPage = static_cast<UINT>(m_nClientHeight / 4);
    m_scrollBar.SetScrollInfo(&info, TRUE);
}

void CTavrelDlg::ScrollTo(int position)
{
    if (!m_scrollBar.IsWindow())
        return;
    SCROLLINFO info = {};
    m_scrollBar.GetScrollInfo(&info, SIF_ALL);
    const int oldPosition = m_nScrollPos;
    const int lastPosition = info.nPage > 0 ? info.nMax - static_cast<int>(info.nPage) + 1 : info.nMax;
    const int newPosition = std::max(info.nMin, std::min(position, lastPosition));

    m_nScrollPos = newPosition;
    SCROLLINFO update = {};
    update.fMask = SIF_POS;
    update.nPos = newPosition;
    m_scrollBar.SetScrollInfo(&update, TRUE);

    if (newPosition != oldPosition && m_panel.IsWindow()) {
        // Content taller than a window can be is shown through a band that
        // may have to move first; otherwise the base is 0 and the panel's
        // top is minus the position.
        int base = m_panel.Base();
        int wanted = BaseForView(base, newPosition, ClientHeightOf(*this), m_nContentHeight);
        if (wanted != base)
            m_panel.SetBase(wanted);
        m_panel.SetWindowPos(nullptr, 0, wanted - newPosition, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CTavrelDlg::OnVScroll(UINT code, UINT position, HWND scrollBar)
{
    if (scrollBar != nullptr && scrollBar != m_scrollBar.m_hWnd) {
        Default();
        return;
    }
    if (!m_scrollBar.IsWindow()) {
        Default();
        return;
    }
    SCROLLINFO info = {};
    m_scrollBar.GetScrollInfo(&info, SIF_ALL);
    int newPosition = info.nPos;
    switch (code) {
    case SB_LINEUP: newPosition -= kLineStep; break;
    case SB_LINEDOWN: newPosition += kLineStep; break;
    case SB_PAGEUP: newPosition -= static_cast<int>(info.nPage); break;
    case SB_PAGEDOWN: newPosition += static_cast<int>(info.nPage); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: newPosition = ThumbPosition(position, info.nTrackPos); break;
    default: break;
    }
    ScrollTo(newPosition);
    Default();
}

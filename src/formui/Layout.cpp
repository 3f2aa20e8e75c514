// Positions the form's windows in one top-to-bottom flow, sizes the panel
// and the dialog to the content, and scrolls the panel.

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "common/Diag.h"
#include "formui/FormLayout.h"
#include "formui/PanelPlacement.h"
#include "formui/TavrelDlg.h"
#include "framework/DisplayScale.h"
#include "framework/Handles.h"

namespace {

constexpr int kMeasureHeightLimit = 10000;  // taller than any label wraps to

bool Exists(const CWnd* window) { return window != nullptr && window->IsWindow(); }

std::string TextOf(const CWnd* window) { return Exists(window) ? window->GetWindowText() : std::string(); }

int ClientHeightOf(const CWnd& window)
{
    RECT client = {};
    window.GetClientRect(&client);
    return client.bottom - client.top;
}

// Measures text in the form's font through one device context held for a
// whole layout: taking and releasing a context for each of a thousand
// labels costs more than the measuring itself.
class TextMeasure : public LayoutTextMeasure {
public:
    TextMeasure(HWND window, HFONT font, const std::vector<FormControl>* controls = nullptr)
        : m_font(font), m_dc(window), m_selected(m_dc.Get(), font), m_controls(controls)
    {
    }

    int Height(const std::string& text, int width) override { return Height(m_dc.Get(), text, width); }

    int SingleLineWidth(const std::string& text) override
    {
        RECT rect = { 0, 0, 0, 0 };
        ::DrawTextA(m_dc.Get(), text.c_str(), -1, &rect, DT_CALCRECT | DT_SINGLELINE);
        return rect.right - rect.left;
    }

    // In the button's own font.
    int ActionButtonTextHeight(size_t item, int width) override
    {
        CWnd* button = m_controls != nullptr ? (*m_controls)[item].m_pButton.get() : nullptr;
        if (!Exists(button))
            return Height(std::string(), width);
        HFONT font = button->GetFont();
        if (font == nullptr || font == m_font)
            return Height(button->GetWindowText(), width);
        WindowDC dc(button->m_hWnd);
        SelectedObject selected(dc.Get(), font);
        return Height(dc.Get(), button->GetWindowText(), width);
    }

    static int Height(HDC dc, const std::string& text, int width)
    {
        RECT rect = { 0, 0, width, kMeasureHeightLimit };
        ::DrawTextA(dc, text.c_str(), -1, &rect, DT_CALCRECT | DT_WORDBREAK);
        return rect.bottom - rect.top;
    }

private:
    HFONT m_font;
    WindowDC m_dc;
    SelectedObject m_selected;
    const std::vector<FormControl>* m_controls;
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

LayoutItem LayoutItemFor(const FormControl& control)
{
    const CControlDef& def = control.Def();
    LayoutItem item;
    item.required = def.m_bRequired != 0;
    item.actionButton = def.m_bActionButton != 0;
    item.pathType = def.IsPathType();
    item.radioGroup = def.m_nRadioGroup;
    item.hasButton = control.m_pButton != nullptr;
    item.hasInput = control.m_pEdit != nullptr;
    item.hasLabel = control.m_pLabel != nullptr;
    item.hasDropDown = Exists(control.m_pCombo.get());
    if (item.hasButton)
        item.buttonText = TextOf(control.m_pButton.get());
    if (item.hasLabel)
        item.labelText = TextOf(control.m_pLabel.get());
    if (item.hasDropDown && control.Def().m_strType == "drive") {
        // The first item, "<select drive>", is the widest a drive list has.
        // (A list of choices keeps the field's width and opens wider.)
        const CComboBox* list = static_cast<const CComboBox*>(control.m_pCombo.get());
        if (list->GetCount() > 0)
            item.dropDownText = list->GetLBText(0);
    }
    return item;
}

}  // namespace

void CTavrelDlg::PlaceOnPanel(CWnd* window, const LayoutBox& box)
{
    m_panel.Place(window, box.x, box.y, box.width, box.height);
}

int CTavrelDlg::MeasureTextHeight(const std::string& text, int width)
{
    return TextMeasure(m_hWnd, FormFont()).Height(text, width);
}

HFONT CTavrelDlg::FormFont() const { return GuiFontForDpi(m_nDpi); }

void CTavrelDlg::LayoutControls()
{
    RECT client = {};
    GetClientRect(&client);
    const int CW = client.right - client.left;
    const FormFrameMetrics frame = FormFrameMetricsFor(m_nDpi);

    FormLayoutInput input;
    input.clientWidth = CW;
    input.dpi = m_nDpi;
    input.hasDescription = m_staticDescription.IsWindow();
    if (input.hasDescription)
        input.description = m_staticDescription.GetWindowText();
    input.hasGroupBox = m_groupRequired.IsWindow();
    std::vector<FormControl>& controls = m_formControls;
    input.items.reserve(controls.size());
    for (const FormControl& control : controls)
        input.items.push_back(LayoutItemFor(control));

    TextMeasure measure(m_hWnd, FormFont(), &controls);
    const FormLayoutResult layout = LayOutForm(input, measure);

    if (m_btnRun.IsWindow())
        m_panel.Place(&m_btnRun, layout.run.x, layout.run.y, layout.run.width, layout.run.height);
    if (m_staticDescription.IsWindow()) {
        m_staticDescription.ShowWindow(layout.descriptionShown ? SW_SHOW : SW_HIDE);
        if (layout.descriptionShown)
            PlaceOnPanel(&m_staticDescription, layout.description);
    }
    for (size_t i = 0; i < controls.size(); ++i) {
        FormControl& control = controls[i];
        const ItemBoxes& boxes = layout.items[i];
        if (!boxes.placed)
            continue;
        PlaceOnPanel(control.m_pButton.get(), boxes.button);
        PlaceOnPanel(control.m_pEdit.get(), boxes.input);
        PlaceOnPanel(control.m_pCombo.get(), boxes.dropDown);
        PlaceOnPanel(control.m_pLabel.get(), boxes.label);
        PlaceOnPanel(control.m_pBrowse.get(), boxes.browse);
        control.m_nLayoutY = boxes.rowY;
        control.m_nLayoutHeight = boxes.rowHeight;
    }
    m_nContentHeight = layout.contentHeight;
    if (m_groupRequired.IsWindow()) {
        if (layout.groupBoxShown)
            PlaceOnPanel(&m_groupRequired, layout.groupBox);
        m_groupRequired.ShowWindow(layout.groupBoxShown ? SW_SHOW : SW_HIDE);
    }

    RECT window = {};
    GetWindowRect(&window);
    const int oldWidth = window.right - window.left;
    const int oldHeight = window.bottom - window.top;
    if (m_panel.IsWindow()) {
        int panelHeight = PanelHeightFor(m_nContentHeight);
        m_panel.SetWindowPos(nullptr, 0, 0, CW - frame.scrollStripWidth, panelHeight,
                             SWP_NOMOVE | SWP_NOZORDER);
        Diag("Content panel resized to height: %d\n", panelHeight);
    }

    // The frame (caption and borders) takes 30 pixels or, on systems with a
    // thicker frame, what it really takes: the client area must hold the
    // content, or a scroll bar would appear over a dialog already narrowed
    // for having none.
    const int frameHeight = std::max(frame.frameAllowance, oldHeight - static_cast<int>(client.bottom - client.top));
    int height = m_nContentHeight + frameHeight;
    // As tall as the monitor the form is on allows.
    const int maxHeight = MonitorAreaOf(m_hWnd).Height() - frame.screenReserve;
    bool scrollBarExpected = false;
    if (height < frame.minDialogHeight) {
        height = frame.minDialogHeight;
        Diag("Dialog height constrained to minimum: %d\n", height);
    } else if (height > maxHeight) {
        height = maxHeight;
        scrollBarExpected = true;
        Diag("Dialog height constrained to maximum: %d (scrollbar needed)\n", height);
    } else {
        Diag("Dialog sized to fit content: %d\n", height);
    }

    int width = oldWidth;
    m_bScrollStripDropped = !scrollBarExpected;
    if (!scrollBarExpected) {
        width -= frame.scrollStripWidth;
        Diag("No scrollbar needed - reducing width by %d pixels\n", frame.scrollStripWidth);
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
            m_scrollBar.MoveWindow(newClientWidth - frame.scrollStripWidth, 0, frame.scrollStripWidth,
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
             m_nContentHeight - m_nClientHeight, m_nClientHeight, newClientWidth - frame.scrollStripWidth, 0,
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
    const int strip = FormFrameMetricsFor(m_nDpi).scrollStripWidth;
    m_scrollBar.MoveWindow(client.right - client.left - strip, 0, strip,
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
    case SB_LINEUP: newPosition -= FormFrameMetricsFor(m_nDpi).lineStep; break;
    case SB_LINEDOWN: newPosition += FormFrameMetricsFor(m_nDpi).lineStep; break;
    case SB_PAGEUP: newPosition -= static_cast<int>(info.nPage); break;
    case SB_PAGEDOWN: newPosition += static_cast<int>(info.nPage); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: newPosition = ThumbPosition(position, info.nTrackPos); break;
    default: break;
    }
    ScrollTo(newPosition);
    Default();
}

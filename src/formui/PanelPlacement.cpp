#include "formui/PanelPlacement.h"

#include <algorithm>

namespace {

const char kPlacedProp[] = "TavrelPlaced";
const char kContentYProp[] = "TavrelContentY";
const char kContentHeightProp[] = "TavrelContentH";
const char kPanelBaseProp[] = "TavrelPanelBase";

// Windows reaching further than this beyond the panel's edges are cut there,
// so that a very tall window (the group box around thousands of required
// controls) keeps its visible part in place instead of being clamped.
constexpr int kBandMargin = 2048;

HANDLE AsProp(int value) { return reinterpret_cast<HANDLE>(static_cast<INT_PTR>(value)); }
int FromProp(HANDLE value) { return static_cast<int>(reinterpret_cast<INT_PTR>(value)); }

int PanelHeightOf(HWND panel)
{
    RECT client = {};
    ::GetClientRect(panel, &client);
    return client.bottom - client.top;
}

// Moves one window to its content position as seen from `base`.
void Apply(HWND window, int x, int width, int contentY, int height, int base, int panelHeight,
           bool repaint)
{
    const int low = -kBandMargin;
    const int high = std::min(panelHeight + kBandMargin, kMaxWindowExtent);
    int top = contentY - base;
    int bottom = top + height;
    if (top < low || bottom > high) {
        int clippedTop = std::max(top, low);
        int clippedBottom = std::min(bottom, high);
        if (clippedBottom > clippedTop) {
            top = clippedTop;
            bottom = clippedBottom;
        } else {
            // Wholly outside the band: park it in the margin on the side it
            // left by, where the panel never shows it.
            int parkedHeight = std::min(height, kBandMargin);
            top = (top >= high) ? high - parkedHeight : low;
            bottom = top + parkedHeight;
        }
    }
    if (repaint) {
        ::MoveWindow(window, x, top, width, bottom - top, TRUE);
    } else {
        ::SetWindowPos(window, nullptr, x, top, width, bottom - top,
                       SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOCOPYBITS);
    }
}

}  // namespace

int PanelHeightFor(int contentHeight)
{
    return contentHeight <= kMaxWindowExtent ? contentHeight : kTallPanelHeight;
}

int PanelBase(const CWnd& panel)
{
    if (panel.m_hWnd == nullptr)
        return 0;
    return FromProp(::GetPropA(panel.m_hWnd, kPanelBaseProp));
}

bool GetContentPosition(HWND window, int* contentY, int* height)
{
    if (window == nullptr || ::GetPropA(window, kPlacedProp) == nullptr)
        return false;
    *contentY = FromProp(::GetPropA(window, kContentYProp));
    *height = FromProp(::GetPropA(window, kContentHeightProp));
    return true;
}

void PlaceOnPanel(CWnd* window, int x, int contentY, int width, int height)
{
    if (window == nullptr || !window->IsWindow())
        return;
    HWND hWnd = window->m_hWnd;
    ::SetPropA(hWnd, kPlacedProp, AsProp(1));
    ::SetPropA(hWnd, kContentYProp, AsProp(contentY));
    ::SetPropA(hWnd, kContentHeightProp, AsProp(height));
    HWND panel = ::GetParent(hWnd);
    int base = panel ? FromProp(::GetPropA(panel, kPanelBaseProp)) : 0;
    int panelHeight = panel ? PanelHeightOf(panel) : kMaxWindowExtent;
    // Before the panel has its final size, any height up to the limit is fine.
    if (base == 0)
        panelHeight = kMaxWindowExtent;
    Apply(hWnd, x, width, contentY, height, base, panelHeight, true);
}

int BaseForView(int currentBase, int position, int viewHeight, int contentHeight)
{
    if (contentHeight <= kMaxWindowExtent)
        return 0;
    const int panelHeight = kTallPanelHeight;
    if (position >= currentBase && position + viewHeight <= currentBase + panelHeight)
        return currentBase;
    // Centre the view in the new band so that scrolling either way goes on
    // for a long while before the band has to move again.
    int base = position - (panelHeight - viewHeight) / 2;
    base = std::min(base, contentHeight - panelHeight);
    return std::max(base, 0);
}

void SetPanelBase(CWnd& panel, int base)
{
    if (!panel.IsWindow())
        return;
    ::SetPropA(panel.m_hWnd, kPanelBaseProp, AsProp(base));
    const int panelHeight = PanelHeightOf(panel.m_hWnd);
    panel.SendMessage(WM_SETREDRAW, FALSE);
    for (HWND child = ::GetWindow(panel.m_hWnd, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        int contentY = 0, height = 0;
        if (!GetContentPosition(child, &contentY, &height))
            continue;
        RECT rect = {};
        ::GetWindowRect(child, &rect);
        POINT topLeft = { rect.left, rect.top };
        ::ScreenToClient(panel.m_hWnd, &topLeft);
        Apply(child, topLeft.x, rect.right - rect.left, contentY, height, base, panelHeight, false);
    }
    panel.SendMessage(WM_SETREDRAW, TRUE);
    ::RedrawWindow(panel.m_hWnd, nullptr, nullptr,
                   RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

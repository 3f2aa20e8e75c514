#include "formui/PanelPlacement.h"

#include "formui/ContentPanel.h"

#include <algorithm>

namespace {

// Windows reaching further than this beyond the panel's edges are cut there,
// so that a very tall window (the group box around thousands of required
// controls) keeps its visible part in place instead of being clamped.
constexpr int kBandMargin = 2048;

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

bool CContentPanel::GetContentPosition(HWND window, int* contentY, int* height) const
{
    auto found = m_placements.find(window);
    if (found == m_placements.end())
        return false;
    *contentY = found->second.contentY;
    *height = found->second.height;
    return true;
}

void CContentPanel::Place(CWnd* window, int x, int contentY, int width, int height)
{
    if (window == nullptr || !window->IsWindow())
        return;
    HWND hWnd = window->m_hWnd;
    m_placements[hWnd] = Placement{ contentY, height };
    // Before the panel has its final size, any height up to the limit is fine.
    const int panelHeight = m_base == 0 ? kMaxWindowExtent : PanelHeightOf(m_hWnd);
    // A window not on screen yet (the form being built) paints in full when
    // it shows: repainting each control as it moves would only cost time.
    Apply(hWnd, x, width, contentY, height, m_base, panelHeight, ::IsWindowVisible(hWnd) != FALSE);
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

void CContentPanel::SetBase(int base)
{
    if (!IsWindow())
        return;
    m_base = base;
    const int panelHeight = PanelHeightOf(m_hWnd);
    SendMessage(WM_SETREDRAW, FALSE);
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        int contentY = 0, height = 0;
        if (!GetContentPosition(child, &contentY, &height))
            continue;
        RECT rect = {};
        ::GetWindowRect(child, &rect);
        POINT topLeft = { rect.left, rect.top };
        ::ScreenToClient(m_hWnd, &topLeft);
        Apply(child, topLeft.x, rect.right - rect.left, contentY, height, base, panelHeight, false);
    }
    SendMessage(WM_SETREDRAW, TRUE);
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

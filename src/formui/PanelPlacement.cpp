#include "formui/PanelPlacement.h"

#include <algorithm>
#include <unordered_map>

namespace {

struct Placement {
    int contentY = 0;
    int height = 0;
};

// What one panel remembers: the content position at its top and where each
// of its windows belongs in the content. Kept in our own memory (every
// control is placed at least once, and a window property costs a round trip
// to the window server on some systems); dropped with the panel.
struct PanelRecord {
    int base = 0;
    std::unordered_map<HWND, Placement> windows;
};

// The panels of the thread that owns them (the user-interface thread).
std::unordered_map<HWND, PanelRecord>& Panels()
{
    static std::unordered_map<HWND, PanelRecord> panels;
    return panels;
}

const PanelRecord* FindPanel(HWND panel)
{
    auto found = Panels().find(panel);
    return found != Panels().end() ? &found->second : nullptr;
}

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

int PanelBase(const CWnd& panel)
{
    const PanelRecord* record = FindPanel(panel.m_hWnd);
    return record != nullptr ? record->base : 0;
}

bool GetContentPosition(HWND window, int* contentY, int* height)
{
    const PanelRecord* record = window != nullptr ? FindPanel(::GetParent(window)) : nullptr;
    if (record == nullptr)
        return false;
    auto found = record->windows.find(window);
    if (found == record->windows.end())
        return false;
    *contentY = found->second.contentY;
    *height = found->second.height;
    return true;
}

void PlaceOnPanel(CWnd* window, int x, int contentY, int width, int height)
{
    if (window == nullptr || !window->IsWindow())
        return;
    HWND hWnd = window->m_hWnd;
    HWND panel = ::GetParent(hWnd);
    PanelRecord& record = Panels()[panel];
    record.windows[hWnd] = Placement{ contentY, height };
    // Before the panel has its final size, any height up to the limit is fine.
    const int panelHeight = record.base == 0 ? kMaxWindowExtent : PanelHeightOf(panel);
    // A window not on screen yet (the form being built) paints in full when
    // it shows: repainting each control as it moves would only cost time.
    Apply(hWnd, x, width, contentY, height, record.base, panelHeight, ::IsWindowVisible(hWnd) != FALSE);
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
    Panels()[panel.m_hWnd].base = base;
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

void ForgetPanel(HWND panel) { Panels().erase(panel); }

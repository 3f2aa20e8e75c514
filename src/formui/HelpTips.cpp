#include "formui/HelpTips.h"

#include <commctrl.h>

#include <memory>

#include "common/Diag.h"
#include "formui/FormControl.h"
#include "framework/DisplayScale.h"
#include "framework/SystemLibrary.h"

namespace {

// Tips longer than this (at 96 DPI) wrap onto further lines.
constexpr int kTipWidth = 360;
constexpr UINT_PTR kFocusToolId = 1;

// The size comctl32 5 knows: a larger one makes it refuse the tool, and
// the program asks for no later version in its manifest.
const UINT kToolInfoSize = TTTOOLINFOA_V2_SIZE;

HWND MakeTipWindow(HWND owner)
{
    HWND tip = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                                 ::GetModuleHandleA(nullptr), nullptr);
    if (tip != nullptr)
        ::SendMessageA(tip, TTM_SETMAXTIPWIDTH, 0, ScaleForDpi(kTipWidth, DpiOfWindow(owner)));
    return tip;
}

TOOLINFOA ToolFor(HWND owner, HWND window, const std::string& text)
{
    TOOLINFOA tool = {};
    tool.cbSize = kToolInfoSize;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = owner;
    tool.uId = reinterpret_cast<UINT_PTR>(window);
    tool.lpszText = const_cast<char*>(text.c_str());  // copied by the tooltip
    return tool;
}

}  // namespace

HelpTips::~HelpTips()
{
    for (HWND tip : { m_hoverTip, m_focusTip }) {
        if (tip != nullptr && ::IsWindow(tip))
            ::DestroyWindow(tip);
    }
}

void HelpTips::Create(HWND owner, const std::vector<FormControl>& controls)
{
    m_controls = &controls;
    m_owner = owner;
    bool anyHelp = false;
    for (const FormControl& control : controls)
        anyHelp = anyHelp || control.Def().m_attributes.helpLine != 0;
    if (!anyHelp)
        return;
    if (!InitCommonControlClasses(ICC_BAR_CLASSES)) {
        Diag("WARNING: Failed to create the help tooltips\n");
        return;
    }
    m_hoverTip = MakeTipWindow(owner);
    m_focusTip = MakeTipWindow(owner);
    if (m_hoverTip == nullptr || m_focusTip == nullptr) {
        Diag("WARNING: Failed to create the help tooltips\n");
        return;
    }
    int tools = 0;
    for (const FormControl& control : controls) {
        const std::string& help = control.Def().m_attributes.help;
        if (control.Def().m_attributes.helpLine == 0)
            continue;
        for (const std::unique_ptr<CWnd>* part :
             { &control.m_pLabel, &control.m_pEdit, &control.m_pButton, &control.m_pCombo, &control.m_pBrowse }) {
            if (!*part || !(*part)->IsWindow())
                continue;
            TOOLINFOA tool = ToolFor(owner, (*part)->m_hWnd, help);
            if (::SendMessageA(m_hoverTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)))
                ++tools;
        }
    }
    TOOLINFOA focusTool = {};
    focusTool.cbSize = kToolInfoSize;
    focusTool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    focusTool.hwnd = owner;
    focusTool.uId = kFocusToolId;
    focusTool.lpszText = const_cast<char*>("");
    ::SendMessageA(m_focusTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&focusTool));
    Diag("Help tooltips on %d windows\n", tools);
}

const FormControl* HelpTips::ControlWith(HWND window) const
{
    if (m_controls == nullptr || window == nullptr)
        return nullptr;
    for (const FormControl& control : *m_controls) {
        if (control.HasPart(window))
            return &control;
    }
    return nullptr;
}

void HelpTips::ShowForFocus(HWND focus)
{
    HideFocusTip();
    const FormControl* control = ControlWith(focus);
    if (m_focusTip == nullptr || control == nullptr || control->Def().m_attributes.helpLine == 0)
        return;
    TOOLINFOA tool = {};
    tool.cbSize = kToolInfoSize;
    tool.hwnd = m_owner;
    tool.uId = kFocusToolId;
    tool.lpszText = const_cast<char*>(control->Def().m_attributes.help.c_str());
    ::SendMessageA(m_focusTip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    RECT below = {};
    ::GetWindowRect(focus, &below);
    ::SendMessageA(m_focusTip, TTM_TRACKPOSITION, 0, MAKELPARAM(below.left, below.bottom + 2));
    ::SendMessageA(m_focusTip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    m_focusTipShown = true;
}

void HelpTips::HideFocusTip()
{
    if (!m_focusTipShown || m_focusTip == nullptr)
        return;
    TOOLINFOA tool = {};
    tool.cbSize = kToolInfoSize;
    tool.hwnd = m_owner;
    tool.uId = kFocusToolId;
    ::SendMessageA(m_focusTip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
    m_focusTipShown = false;
}

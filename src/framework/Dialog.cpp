#include "framework/Dialog.h"

#include <cstring>
#include <vector>

#include "common/Diag.h"
#include "framework/DisplayScale.h"
#include "framework/WinApp.h"

namespace {

// An extended dialog template (DLGTEMPLATEEX) starts with version 1 and this
// signature; its style follows the help id and the extended style.
constexpr WORD kExtendedTemplateVersion = 1;
constexpr WORD kExtendedTemplateSignature = 0xFFFF;
constexpr size_t kExtendedTemplateStyleOffset = 12;

// Copy of a dialog template resource with WS_VISIBLE cleared.
std::vector<BYTE> LoadHiddenTemplate(UINT templateId)
{
    HMODULE module = ::GetModuleHandleA(nullptr);
    HRSRC resource = ::FindResourceA(module, MAKEINTRESOURCEA(templateId), (LPCSTR)RT_DIALOG);
    if (resource == nullptr)
        return {};
    HGLOBAL loaded = ::LoadResource(module, resource);
    const BYTE* data = loaded ? static_cast<const BYTE*>(::LockResource(loaded)) : nullptr;
    DWORD size = ::SizeofResource(module, resource);
    if (data == nullptr || size < sizeof(DLGTEMPLATE))
        return {};
    std::vector<BYTE> copy(data, data + size);
    WORD version = 0, signature = 0;
    std::memcpy(&version, copy.data(), sizeof version);
    std::memcpy(&signature, copy.data() + 2, sizeof signature);
    const bool extended = version == kExtendedTemplateVersion && signature == kExtendedTemplateSignature;
    size_t styleOffset = extended ? kExtendedTemplateStyleOffset : 0;
    DWORD style = 0;
    std::memcpy(&style, copy.data() + styleOffset, sizeof style);
    style &= ~WS_VISIBLE;
    std::memcpy(copy.data() + styleOffset, &style, sizeof style);
    return copy;
}

HWND TopLevelOf(HWND hWnd)
{
    HWND top = hWnd;
    while (top != nullptr && (::GetWindowLongA(top, GWL_STYLE) & WS_CHILD))
        top = ::GetParent(top);
    return top;
}

}  // namespace

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
    ON_MESSAGE(WM_DPICHANGED, OnDpiChanged)
END_MESSAGE_MAP()

CDialog::CDialog(UINT templateId, CWnd* parent) : m_templateId(templateId), m_pParentWnd(parent) {}

CDialog::~CDialog()
{
    if (m_scaledFont != nullptr)
        ::DeleteObject(m_scaledFont);
}

HWND CDialog::CreateHidden(HWND owner)
{
    std::vector<BYTE> dialogTemplate = LoadHiddenTemplate(m_templateId);
    if (dialogTemplate.empty())
        return nullptr;
    return ::CreateDialogIndirectParamA(::GetModuleHandleA(nullptr),
                                        reinterpret_cast<LPCDLGTEMPLATEA>(dialogTemplate.data()),
                                        owner, StaticDialogProc, reinterpret_cast<LPARAM>(this));
}

BOOL CDialog::Create(CWnd* parent)
{
    m_pParentWnd = parent;
    return CreateHidden(parent ? parent->m_hWnd : nullptr) != nullptr;
}

INT_PTR CDialog::DoModal()
{
    // Without a parent the main window owns the dialog, as long as it is
    // another window than this one.
    HWND owner = m_pParentWnd ? TopLevelOf(m_pParentWnd->m_hWnd) : nullptr;
    if (owner == nullptr) {
        CWnd* main = AfxGetMainWnd();
        if (main != nullptr && main != this && main->IsWindow())
            owner = TopLevelOf(main->m_hWnd);
    }

    m_endModal = false;
    m_modalResult = -1;
    if (CreateHidden(owner) == nullptr)
        return -1;

    bool ownerDisabled = false;
    if (owner != nullptr && ::IsWindowEnabled(owner)) {
        ::EnableWindow(owner, FALSE);
        ownerDisabled = true;
    }

    RunModalLoop();

    if (ownerDisabled)
        ::EnableWindow(owner, TRUE);
    if (IsWindow()) {
        // Hand activation back to the owner before the window goes away.
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        if (owner != nullptr && ::GetActiveWindow() == m_hWnd)
            ::SetActiveWindow(owner);
        DestroyWindow();
    }
    return m_modalResult;
}

void CDialog::RunModalLoop()
{
    m_inModalLoop = true;
    bool shown = false;
    MSG msg;
    while (!m_endModal && IsWindow()) {
        if (!shown && !::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            ShowWindow(SW_SHOWNORMAL);
            UpdateWindow();
            shown = true;
            continue;
        }
        BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            // A quit request ends this loop and every loop around it.
            m_modalResult = -1;
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got == -1) {
            // The queue cannot be read (the system answers so only for a bad
            // window or message pointer): the dialog ends as if cancelled
            // rather than spin on the error.
            Diag("ERROR: Reading the message queue failed (error %lu); the dialog ends\n",
                 ::GetLastError());
            m_modalResult = -1;
            break;
        }
        if (PreTranslateMessage(&msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    m_inModalLoop = false;
}

void CDialog::EndDialog(int result)
{
    m_modalResult = result;
    m_endModal = true;
    if (!m_inModalLoop && IsWindow())
        ShowWindow(SW_HIDE);  // a modeless dialog just hides
}

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    // The dialog's keyboard interface: Tab, arrows, Enter, Escape, mnemonics.
    if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST && m_hWnd != nullptr)
        return ::IsDialogMessageA(m_hWnd, msg);
    return CWnd::PreTranslateMessage(msg);
}

BOOL CDialog::OnInitDialog()
{
    // The system made the template's font and sizes for the DPI the dialog
    // opens at; a later change of monitor is ours to follow, alike on every
    // system.
    m_nDpi = m_nOpenedDpi = DpiOfWindow(m_hWnd);
    if (m_scaledFont != nullptr) {  // of an earlier window of this object
        ::DeleteObject(m_scaledFont);
        m_scaledFont = nullptr;
    }
    KeepDialogScalingToUs(m_hWnd);
    DoDataExchange();
    return TRUE;
}

LRESULT CDialog::OnDpiChanged(WPARAM wParam, LPARAM lParam)
{
    const int dpi = HIWORD(wParam);
    if (dpi <= 0 || lParam == 0 || dpi == m_nDpi)
        return 0;
    // The template's font stays the dialog's (the dialog deletes it); the
    // controls get it made again from it for each new DPI.
    const HFONT templateFont = GetFont();
    const HFONT oldFont = m_scaledFont != nullptr ? m_scaledFont : templateFont;
    const HFONT newFont = dpi == m_nOpenedDpi ? nullptr : RescaledFont(templateFont, m_nOpenedDpi, dpi);
    const HFONT shownFont = newFont != nullptr ? newFont : templateFont;
    // Positions first, in the client area as it was.
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        RECT rect;
        ::GetWindowRect(child, &rect);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
        const int left = RescaleDpi(rect.left, m_nDpi, dpi);
        const int top = RescaleDpi(rect.top, m_nDpi, dpi);
        ::SetWindowPos(child, nullptr, left, top, RescaleDpi(rect.right, m_nDpi, dpi) - left,
                       RescaleDpi(rect.bottom, m_nDpi, dpi) - top, SWP_NOZORDER | SWP_NOACTIVATE);
        if (reinterpret_cast<HFONT>(::SendMessageA(child, WM_GETFONT, 0, 0)) == oldFont)
            ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(shownFont), FALSE);
    }
    if (m_scaledFont != nullptr)
        ::DeleteObject(m_scaledFont);
    m_scaledFont = newFont;
    m_nDpi = dpi;
    const RECT suggested = SuggestedRect(lParam);
    SetWindowPos(nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return 0;
}

void CDialog::DDX_Control(int id, CWnd& control)
{
    if (control.m_hWnd == nullptr)
        control.SubclassWindow(GetDlgItem(id));
}

void CDialog::OnOK() { EndDialog(IDOK); }

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::CenterWindow()
{
    RECT window;
    GetWindowRect(&window);
    // Centred on a visible owner, else in the work area of the monitor the
    // owner (or, without one, the dialog) is on; kept inside that work area
    // so that the caption stays reachable.
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    const bool onOwner = owner != nullptr && ::IsWindowVisible(owner) && !::IsIconic(owner);
    const ScreenRect workArea = WorkAreaOf(owner != nullptr ? owner : m_hWnd);
    ScreenRect area = workArea;
    if (onOwner) {
        RECT ownerRect;
        ::GetWindowRect(owner, &ownerRect);
        area = ToScreenRect(ownerRect);
    }
    const ScreenRect placed = KeepInside(CentreIn(ToScreenRect(window), area), workArea);
    SetWindowPos(nullptr, placed.left, placed.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK CDialog::StaticDialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_INITDIALOG)
        return FALSE;  // everything else reaches the dialog through CWnd's routing
    CDialog* dialog = reinterpret_cast<CDialog*>(lParam);
    if (dialog == nullptr || !dialog->SubclassWindow(hWnd))
        return TRUE;
    RECT before;
    ::GetWindowRect(hWnd, &before);
    BOOL result = TRUE;
    try {
        result = dialog->OnInitDialog();
    } catch (...) {
        DiagCaughtException("initialising a dialog");
        result = TRUE;
    }
    RECT after;
    if (::IsWindow(hWnd)) {
        ::GetWindowRect(hWnd, &after);
        if (after.left == before.left && after.top == before.top)
            dialog->CenterWindow();
    }
    return result;
}

// The form dialog's frame: construction, the fixed windows created while it
// initialises, loading the form, the system menu, the minimised icon, the
// Tab-key trace and destruction.

#include "formui/TavrelDlg.h"

#include <vector>

#include "common/Diag.h"
#include "config/ConfigDlg.h"
#include "config/Settings.h"
#include "formui/ControlIds.h"
#include "formui/FormGeometry.h"
#include "framework/SystemLibrary.h"
#include "framework/WideText.h"
#include "framework/WinApp.h"
#include "resource.h"

namespace {

constexpr UINT kAboutCommand = 0x0010;
constexpr int kInitialPanelHeight = 5000;
constexpr DWORD kExpandBufferSize = 4096;

#ifndef MSGFLT_ALLOW
#define MSGFLT_ALLOW 1
#endif
constexpr UINT kCopyGlobalDataMessage = 0x0049;  // WM_COPYGLOBALDATA

RECT MakeRect(int left, int top, int right, int bottom) { return RECT{ left, top, right, bottom }; }

// An elevated process does not receive drops from the (unelevated) shell
// unless it lets the two messages of a drop through.
void AllowDropsFromLowerIntegrity(HWND dialog)
{
    using ChangeFilterFn = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
    ChangeFilterFn changeFilter = nullptr;
    if (::IsWindow(dialog)) {
        HMODULE user32 = ::GetModuleHandleA("user32.dll");
        if (user32 != nullptr)
            changeFilter = reinterpret_cast<ChangeFilterFn>(
                reinterpret_cast<void*>(::GetProcAddress(user32, "ChangeWindowMessageFilterEx")));
    }
    bool enabled = false;
    if (changeFilter != nullptr) {
        enabled = changeFilter(dialog, WM_DROPFILES, MSGFLT_ALLOW, nullptr) != FALSE;
        changeFilter(dialog, kCopyGlobalDataMessage, MSGFLT_ALLOW, nullptr);
    }
    if (enabled)
        Diag("Enabled drag-drop through UIPI (Windows Vista+)\n");
    else
        Diag("Elevated drag-drop not available (pre-Vista system)\n");
}

std::string LoadResourceString(UINT id)
{
    char buffer[256] = {};
    int length = ::LoadStringA(::GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
    return std::string(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

}  // namespace

BEGIN_MESSAGE_MAP(CTavrelDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_COMMAND(IDOK, OnRun)
    ON_WM_VSCROLL()
    ON_WM_SIZE()
    ON_MESSAGE(WM_MOUSEWHEEL, OnMouseWheel)
    ON_WM_TIMER()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_COMMAND_RANGE(kBrowseIdBase, kBrowseIdLast, OnBrowse)
    ON_COMMAND_RANGE(kBrowseExtFirst, kBrowseExtLast, OnBrowse)
    ON_COMMAND_RANGE(kActionIdBase, kActionIdLast, OnActionButton)
    ON_COMMAND_RANGE(kActionExtFirst, kActionExtLast, OnActionButton)
    ON_COMMAND_RANGE(kRadioIdBase, kRadioIdLast, OnRadioClicked)
    ON_COMMAND_RANGE(kRadioExtFirst, kRadioExtLast, OnRadioClicked)
    ON_CONTROL_RANGE(EN_CHANGE, kRadioEditIdBase, kRadioEditIdLast, OnRadioEditChange)
    ON_CONTROL_RANGE(EN_CHANGE, kRadioEditExtFirst, kRadioEditExtLast, OnRadioEditChange)
    ON_WM_DROPFILES()
    ON_MESSAGE(kRunStartedMessage, OnRunStarted)
    ON_MESSAGE(WM_DPICHANGED, OnDpiChanged)
    ON_MESSAGE(WM_INITMENUPOPUP, OnInitMenuPopup)
END_MESSAGE_MAP()

CTavrelDlg::CTavrelDlg(CWnd* parent) : CDialog(IDD_TAVREL_DIALOG, parent)
{
    m_hIcon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    m_nScrollPos = 0;
    m_nContentHeight = 0;
    m_nClientHeight = 0;
    m_nNextControlId = kFirstSequentialId;
}

// The members go in reverse order of declaration: the runner first, then the
// fixed windows, then the form model with every field control.
CTavrelDlg::~CTavrelDlg() { Diag("CTavrelDlg destructor\n"); }

BOOL CTavrelDlg::OnInitDialog()
{
    // The form lays itself out for the DPI of the monitor it is on (which
    // the base class takes), and again when it moves to one of another
    // scale.
    CDialog::OnInitDialog();

    // The console window's output control needs the rich-edit class.
    LoadRichEditLibrary();

    HMENU systemMenu = GetSystemMenu(FALSE);
    if (systemMenu != nullptr) {
        AddFormMenuItems(systemMenu);
        std::string about = LoadResourceString(IDS_ABOUTBOX);
        if (!about.empty()) {
            ::AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
            ::AppendMenuA(systemMenu, MF_STRING, kAboutCommand, about.c_str());
        }
    }

    SendMessage(WM_SETICON, ICON_BIG, (LPARAM)m_hIcon);
    SendMessage(WM_SETICON, ICON_SMALL, (LPARAM)m_hIcon);

    DragAcceptFiles(TRUE);
    AllowDropsFromLowerIntegrity(m_hWnd);

    RECT client = {};
    GetClientRect(&client);
    const int clientWidth = client.right - client.left;

    if (m_scrollBar.Create(WS_CHILD | SBS_VERT, MakeRect(0, 0, 0, 0), this, kScrollBarId))
        m_scrollBar.ModifyStyle(WS_TABSTOP, 0);
    else
        Diag("WARNING: Failed to create scrollbar control\n");

    // The panel paints its own background: without a brush, the gaps between
    // the controls would keep whatever was drawn there before a scroll.
    const char* panelClass =
        AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), nullptr);
    if (m_panel.CreateEx(WS_EX_CONTROLPARENT, panelClass, nullptr,
                         WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                         MakeRect(0, 0, clientWidth - ScaleForDpi(kScrollStripWidth, m_nDpi), kInitialPanelHeight), this,
                         kContentPanelId))
        Diag("Content panel created successfully\n");
    else
        Diag("WARNING: Failed to create content panel\n");

    if (m_staticDescription.Create("", WS_CHILD | WS_VISIBLE,
                                   MakeRect(10, 10, clientWidth - 26, 50), &m_panel,
                                   static_cast<UINT>(kDescriptionId))) {
        m_staticDescription.SetFont(FormFont(), TRUE);
        Diag("Created description static\n");
    } else {
        Diag("WARNING: Failed to create description static\n");
    }

    if (m_btnRun.Create("Run", WS_CHILD | WS_VISIBLE | WS_TABSTOP,
                        MakeRect(clientWidth - 96, 10, clientWidth - 26, 35), &m_panel,
                        kRunButtonId)) {
        m_btnRun.SetFont(FormFont(), TRUE);
        Diag("Created Run button\n");
    } else {
        Diag("WARNING: Failed to create Run button\n");
    }

    if (m_groupRequired.Create("Required", WS_CHILD | BS_GROUPBOX, MakeRect(0, 0, 100, 100),
                               &m_panel, kRequiredGroupId)) {
        m_groupRequired.SetFont(FormFont(), TRUE);
        // The box draws only its frame: the panel paints what lies inside it
        // (it would be left out as a child's area), or scrolling leaves
        // pieces of earlier views there.
        ::SetWindowLongA(m_groupRequired.m_hWnd, GWL_EXSTYLE,
                         ::GetWindowLongA(m_groupRequired.m_hWnd, GWL_EXSTYLE) | WS_EX_TRANSPARENT);
        Diag("Created Required group box\n");
    } else {
        Diag("WARNING: Failed to create Required group box\n");
    }

    Diag("OnInitDialog - ready to load .gui file\n");
    if (m_strGuiPath.empty()) {
        Diag("No .gui file specified\n");
    } else {
        Diag("Loading: %s\n", m_strGuiPath.c_str());
        if (LoadGuiFile(m_strGuiPath)) {
            if (!m_strTitle.empty())
                SetWindowText(m_strTitle);
            else if (!m_form.m_strCommand.empty())
                SetWindowText(m_form.m_strCommand);
            if (m_staticDescription.IsWindow())
                m_staticDescription.SetWindowText(m_form.m_strDescription);
            CreateControls();
            LayoutControls();
            // Remembered values, when they are kept, win over defaults.
            for (FormControl& control : m_formControls)
                control.ApplyDefault();
            m_helpTips.Create(m_hWnd, m_formControls);
            if (ReadRememberValues() != 0)
                RestoreFieldValues();
        }
    }

    // The first required field with an edit box gets the focus; without one,
    // the Run button.
    const FormControl* firstRequired = nullptr;
    int firstRequiredIndex = -1;
    for (size_t i = 0; i < m_formControls.size(); ++i) {
        const FormControl& control = m_formControls[i];
        if (control.Def().m_bRequired && control.m_pEdit) {
            firstRequired = &control;
            firstRequiredIndex = static_cast<int>(i);
            break;
        }
    }
    if (firstRequired != nullptr) {
        Diag("Setting focus to first required edit box (control %d)\n", firstRequiredIndex);
        if (firstRequired->m_pEdit->IsWindow())
            firstRequired->m_pEdit->SetFocus();
    } else {
        Diag("Setting focus to Run button\n");
        if (m_btnRun.IsWindow())
            m_btnRun.SetFocus();
    }
    return FALSE;
}

BOOL CTavrelDlg::LoadGuiFile(const std::string& path)
{
    Diag("LoadGuiFile: %s\n", path.c_str());
    m_formControls.clear();  // they refer to the definitions about to go
    BOOL loaded = m_form.ParseFileWithBatchSupport(path) ? TRUE : FALSE;
    if (loaded) {
        std::string expanded;
        // A result that does not fit the buffer is not trusted: the command
        // stays as written.
        if (ExpandEnvironmentReferences(m_form.m_strCommand, expanded) && expanded.size() < kExpandBufferSize)
            m_form.m_strCommand = expanded;
        Diag("Command name after expansion: %s\n", m_form.m_strCommand.c_str());
    }
    return loaded;
}

FormControl* CTavrelDlg::ControlAt(int position)
{
    if (position < 0 || position >= static_cast<int>(m_formControls.size()))
        return nullptr;
    return &m_formControls[static_cast<size_t>(position)];
}

const FormControl* CTavrelDlg::ControlFor(const CControlDef& def) const
{
    // The parser numbers definitions by their position in the model, which
    // is also the position of their controls.
    const size_t position = static_cast<size_t>(def.m_nIndex);
    if (position < m_formControls.size() && &m_formControls[position].Def() == &def)
        return &m_formControls[position];
    return nullptr;
}

void CTavrelDlg::OnSysCommand(UINT id, LPARAM lParam)
{
    if ((id & 0xFFF0) == kAboutCommand) {
        ConfigDlg config(nullptr);
        config.DoModal();
    } else if (!OnFormMenuCommand(id & 0xFFF0)) {
        Default();
    }
}

void CTavrelDlg::OnPaint()
{
    if (!IsIconic()) {
        Default();
        return;
    }
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    SendMessage(WM_ICONERASEBKGND, (WPARAM)dc, 0);
    RECT client = {};
    GetClientRect(&client);
    int x = (client.right - client.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (client.bottom - client.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    ::DrawIcon(dc, x, y, m_hIcon);
    ::EndPaint(m_hWnd, &paint);
}

HCURSOR CTavrelDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }

// A form of action buttons hides Run: Enter in one of its fields (or on a
// checkbox) must not start the plain command that no visible button offers.
// Enter on a focused button still presses that button, and an open list
// still takes Enter for itself.
bool CTavrelDlg::IgnoreEnterForHiddenRun(const MSG& msg)
{
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_RETURN || !m_btnRun.IsWindow() ||
        (m_btnRun.GetStyle() & WS_VISIBLE) != 0)
        return false;
    if (msg.hwnd != m_hWnd && !::IsChild(m_hWnd, msg.hwnd))
        return false;
    MSG copy = msg;
    const LRESULT code = ::SendMessageA(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&copy));
    if ((code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE | DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0)
        return false;
    Diag("Enter ignored: the Run button is hidden\n");
    return true;
}

BOOL CTavrelDlg::PreTranslateMessage(MSG* msg)
{
    if (ForwardWheelToForm(*msg) || IgnoreEnterForHiddenRun(*msg))
        return TRUE;
    const bool keyboard = msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST;
    const HWND focusBefore = ::GetFocus();
    const bool tab = msg->message == WM_KEYDOWN && msg->wParam == VK_TAB;
    // A help tip shown for the keyboard focus goes once the user types,
    // clicks or moves on.
    if (msg->message == WM_KEYDOWN || msg->message == WM_LBUTTONDOWN || msg->message == WM_RBUTTONDOWN ||
        msg->message == WM_MOUSEWHEEL)
        m_helpTips.HideFocusTip();
    if (tab) {
        Diag("\n[TAB KEY PRESSED]\n");
        LogFocus("Before Tab");
    }
    BOOL result = CDialog::PreTranslateMessage(msg);  // moves the focus on Tab
    if (tab)
        LogFocus("After Tab");
    // Tab, Shift+Tab, arrows and mnemonics may move the focus off screen.
    if (keyboard && ::GetFocus() != focusBefore) {
        ScrollIntoView(::GetFocus());
        m_helpTips.ShowForFocus(::GetFocus());
    }
    return result;
}

void CTavrelDlg::OnTimer(UINT_PTR) { Default(); }

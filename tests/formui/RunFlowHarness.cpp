#include "RunFlowHarness.h"

#include "formui/ControlIds.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "formui/ShiftKey.h"
#include "framework/WinApp.h"
#include "support/IsolatedAppData.h"
#include "support/TestPrograms.h"

namespace {

IsolatedAppData g_appData;

std::string TempFolder()
{
    char folder[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, folder);
    return folder;
}

std::string FreshTempName(const char* prefix)
{
    char path[MAX_PATH] = {};
    ::GetTempFileNameA(TempFolder().c_str(), prefix, 0, path);
    return path;
}

std::string WideToAnsi(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    int length = ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), (int)text.size(), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), (int)text.size(), &out[0], length, nullptr, nullptr);
    return out;
}

std::string WindowTextOf(HWND window)
{
    int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int got = ::GetWindowTextW(window, &text[0], length + 1);
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return WideToAnsi(text);
}

std::string WithLineFeeds(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out.push_back('\n');
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

ConsoleWatch* g_watch = nullptr;

BOOL CALLBACK FindConsole(HWND window, LPARAM result)
{
    if (::IsWindowVisible(window) && WindowTextOf(window).rfind("Executing: ", 0) == 0) {
        *reinterpret_cast<HWND*>(result) = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

// ---- LoadedForm -------------------------------------------------------------

LoadedForm::LoadedForm(const std::string& formText) : LoadedForm(formText, FreshTempName("tvr")) {}

LoadedForm::LoadedForm(const std::string& formText, const std::string& path) : m_path(path)
{
    std::ofstream(m_path, std::ios::binary | std::ios::trunc) << formText;
    ::LoadLibraryA("RICHED20.DLL");
    SetMessageBoxHook([this](HWND owner, const std::string& text, const std::string& caption, UINT type) {
        m_boxes.push_back({text, caption, type, owner});
        auto answer = m_answers.find(caption);
        if (answer != m_answers.end())
            return answer->second;
        return (type & MB_TYPEMASK) == MB_YESNO ? IDNO : IDOK;
    });
    m_dialog = std::make_unique<OwnedWindow<CTavrelDlg>>();
    m_dialog->m_strGuiPath = m_path;
    m_dialog->Create();
}

LoadedForm::~LoadedForm()
{
    m_dialog.reset();
    SetMessageBoxHook(nullptr);
    ::DeleteFileA(m_path.c_str());
}

size_t LoadedForm::BoxCount(const std::string& caption) const
{
    size_t count = 0;
    for (const ShownBox& box : m_boxes)
        count += box.caption == caption ? 1 : 0;
    return count;
}

const ShownBox* LoadedForm::LastBox(const std::string& caption) const
{
    for (auto box = m_boxes.rbegin(); box != m_boxes.rend(); ++box)
        if (box->caption == caption)
            return &*box;
    return nullptr;
}

void LoadedForm::SetText(size_t index, const std::string& text)
{
    CControlDef& control = Control(index);
    if (control.m_pEdit != nullptr)
        control.m_pEdit->SetWindowText(text);
}

void LoadedForm::SetChecked(size_t index, bool checked)
{
    CControlDef& control = Control(index);
    if (control.m_pButton != nullptr)
        control.m_pButton->SendMessage(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED);
}

void LoadedForm::SelectDrive(size_t index, int item)
{
    CControlDef& control = Control(index);
    if (control.m_pCombo != nullptr)
        control.m_pCombo->SendMessage(CB_SETCURSEL, static_cast<WPARAM>(item));
}

void LoadedForm::PressRun() { SendCommandId(IDOK); }

void LoadedForm::PressActionButton(size_t index)
{
    SendCommandId(static_cast<UINT>(ControlIdFor(IdRange::Action, static_cast<int>(index))));
}

void LoadedForm::SendCommandId(UINT id) { m_dialog->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

// ---- HoldShift ----------------------------------------------------------------

HoldShift::HoldShift()
{
    SetShiftKeyProbe([]() { return true; });
}

HoldShift::~HoldShift() { SetShiftKeyProbe(nullptr); }

// ---- ConsoleWatch -------------------------------------------------------------

ConsoleWatch::ConsoleWatch(CTavrelDlg& form, DWORD timeoutMs) : m_form(form), m_timeoutMs(timeoutMs)
{
    g_watch = this;
    m_timer = ::SetTimer(nullptr, 0, 15, &ConsoleWatch::Tick);
}

ConsoleWatch::~ConsoleWatch()
{
    if (m_timer != 0)
        ::KillTimer(nullptr, m_timer);
    g_watch = nullptr;
}

void CALLBACK ConsoleWatch::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_watch != nullptr)
        g_watch->Poll();
}

void ConsoleWatch::Poll()
{
    HWND console = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindConsole, reinterpret_cast<LPARAM>(&console));
    if (console == nullptr)
        return;
    // A window handle can be reused by the next console: a mark on the
    // window itself tells a new console from one already seen.
    const char kSeen[] = "ConsoleWatchSeen";
    if (::GetPropA(console, kSeen) == nullptr) {
        ::SetPropA(console, kSeen, reinterpret_cast<HANDLE>(1));
        m_openedAt = ::GetTickCount();
        m_closeRequested = false;
        ++consolesSeen;
    }
    if (m_closeRequested)
        return;
    if (m_form.m_btnRun.IsWindow() && m_form.m_btnRun.IsWindowEnabled())
        runButtonEnabledWhileOpen = true;

    std::string shown = WithLineFeeds(WindowTextOf(::GetDlgItem(console, 1004)));
    bool ended = shown.find("***** Process exited with code") != std::string::npos;
    bool late = ::GetTickCount() - m_openedAt > m_timeoutMs;
    if (!ended && !late)
        return;
    timedOut = timedOut || !ended;
    text = shown;
    caption = WindowTextOf(console);
    m_closeRequested = true;
    ::PostMessageA(console, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

// ---- Texts, files and folders ----------------------------------------------

std::string MakeFormText(const std::string& command, const std::vector<std::string>& lines)
{
    std::string text = command + "\r\nA form under test.\r\n";
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

std::string ArgsPrinterCommand() { return QuotedTestChild() + " args"; }

ScratchFolder::ScratchFolder()
{
    m_path = FreshTempName("tvd");
    ::DeleteFileA(m_path.c_str());
    ::CreateDirectoryA(m_path.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::string ScratchFolder::WriteFile(const std::string& name, const std::string& bytes) const
{
    std::string path = PathOf(name);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    return path;
}

std::string ScratchFolder::MakeFolder(const std::string& name) const
{
    std::string path = PathOf(name);
    ::CreateDirectoryA(path.c_str(), nullptr);
    return path;
}

bool ReadWholeFile(const std::string& path, std::string& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream text;
    text << in.rdbuf();
    bytes = text.str();
    return true;
}

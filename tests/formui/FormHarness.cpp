#include "FormHarness.h"

#include <fstream>
#include <sstream>

#include "config/Settings.h"
#include "formui/ControlIds.h"
#include "framework/WinApp.h"
#include "support/IsolatedAppData.h"

namespace {

IsolatedAppData g_appData;

std::string TempFormPath()
{
    char folder[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, folder);
    char path[MAX_PATH] = {};
    ::GetTempFileNameA(folder, "tvf", 0, path);
    return path;
}

}  // namespace

OpenForm::OpenForm(const std::string& formText, const WindowTitle& title)
{
    if (!formText.empty()) {
        m_path = TempFormPath();
        std::ofstream(m_path, std::ios::binary) << formText;
    }
    Open(title.title);
}

OpenForm::OpenForm(const std::string& formText, const AtPath& where) : m_path(where.path)
{
    std::ofstream(m_path, std::ios::binary | std::ios::trunc) << formText;
    Open(std::string());
}

void OpenForm::Open(const std::string& title)
{
    // The console window that a run opens needs the rich-edit class.
    ::LoadLibraryA("RICHED20.DLL");
    SetMessageBoxHook([this](HWND owner, const std::string& text, const std::string& caption, UINT type) {
        m_boxes.push_back({ text, caption, type, owner });
        auto answer = m_answers.find(caption);
        if (answer != m_answers.end())
            return answer->second;
        return (type & MB_TYPEMASK) == MB_YESNO ? IDNO : IDOK;
    });
    m_dialog = std::make_unique<OwnedWindow<CTavrelDlg>>();
    m_dialog->m_strGuiPath = m_path;
    m_dialog->m_strTitle = title;
    m_dialog->Create();
}

OpenForm::~OpenForm()
{
    m_dialog.reset();
    SetMessageBoxHook(nullptr);
    if (!m_path.empty())
        ::DeleteFileA(m_path.c_str());
}

size_t OpenForm::BoxCount(const std::string& caption) const
{
    size_t count = 0;
    for (const ShownBox& box : m_boxes)
        count += box.caption == caption ? 1 : 0;
    return count;
}

const ShownBox* OpenForm::LastBox(const std::string& caption) const
{
    for (auto box = m_boxes.rbegin(); box != m_boxes.rend(); ++box)
        if (box->caption == caption)
            return &*box;
    return nullptr;
}

void OpenForm::SetText(size_t index, const std::string& text)
{
    if (CWnd* edit = Control(index).m_pEdit.get())
        edit->SetWindowText(text);
}

void OpenForm::SetChecked(size_t index, bool checked)
{
    if (CWnd* button = Control(index).m_pButton.get())
        button->SendMessage(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED);
}

void OpenForm::SelectDrive(size_t index, int item)
{
    if (CWnd* combo = Control(index).m_pCombo.get())
        combo->SendMessage(CB_SETCURSEL, static_cast<WPARAM>(item));
}

void OpenForm::PressRun() { SendCommandId(IDOK); }

void OpenForm::PressActionButton(size_t index)
{
    SendCommandId(static_cast<UINT>(ControlIdFor(IdRange::Action, static_cast<int>(index))));
}

void OpenForm::SendCommandId(UINT id) { m_dialog->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

void OpenForm::Scroll(UINT code, UINT position)
{
    m_dialog->SendMessage(WM_VSCROLL, MAKEWPARAM(code, position), (LPARAM)m_dialog->m_scrollBar.m_hWnd);
}

RECT OpenForm::ClientRect() const
{
    RECT client = {};
    m_dialog->GetClientRect(&client);
    return client;
}

ScopedUiSettings::ScopedUiSettings(int hideFlags, int hideRunWithButtons) : m_path(GetSettingsPath())
{
    m_hadFile = ReadWholeFile(m_path, m_previous);
    std::ofstream out(m_path, std::ios::binary | std::ios::trunc);
    out << "[UI]\r\n";
    if (hideFlags >= 0)
        out << "HideFlags=" << hideFlags << "\r\n";
    if (hideRunWithButtons >= 0)
        out << "HideRunWithButtons=" << hideRunWithButtons << "\r\n";
}

ScopedUiSettings::~ScopedUiSettings()
{
    if (m_hadFile)
        std::ofstream(m_path, std::ios::binary | std::ios::trunc) << m_previous;
    else
        ::DeleteFileA(m_path.c_str());
}

namespace {
std::string FormFile(const std::string& command, const std::string& description,
                     const std::vector<std::string>& lines)
{
    std::string text = command + "\r\n" + description + "\r\n";
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}
}  // namespace

std::string FormText(const std::string& description, const std::vector<std::string>& lines)
{
    return FormFile("cmd /c echo", description, lines);
}

std::string MakeFormText(const std::string& command, const std::vector<std::string>& lines)
{
    return FormFile(command, "A form under test.", lines);
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

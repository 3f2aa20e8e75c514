#include "FormDialogHarness.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "config/Settings.h"
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

bool ReadWholeFile(const std::string& path, std::string* contents)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream text;
    text << in.rdbuf();
    *contents = text.str();
    return true;
}

}  // namespace

OpenForm::OpenForm(const std::string& formText, const std::string& title)
{
    if (!formText.empty()) {
        m_path = TempFormPath();
        std::ofstream(m_path, std::ios::binary) << formText;
    }
    // The console window that a run opens needs the rich-edit class.
    ::LoadLibraryA("RICHED20.DLL");
    SetMessageBoxHook([this](HWND, const std::string& text, const std::string& caption, UINT type) {
        m_boxes.push_back({ text, caption, type });
        return IDOK;
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
    m_hadFile = ReadWholeFile(m_path, &m_previous);
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

RECT RectIn(HWND window, HWND reference)
{
    RECT rect = {};
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(HWND_DESKTOP, reference, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string ClassOf(HWND window)
{
    char name[256] = {};
    ::GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window)
{
    char text[1024] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

DWORD StyleOf(HWND window) { return static_cast<DWORD>(::GetWindowLongA(window, GWL_STYLE)); }

std::string FormText(const std::string& description, const std::vector<std::string>& lines)
{
    std::string text = "cmd /c echo\r\n" + description + "\r\n";
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

// Keeping a console's output: its system menu copies all of it or saves it
// to a text file, during a run, after it, and in the error window alike.
// In a run both take the transcript (the whole output so far, long lines
// whole, without colour sequences); the error window's text as shown.

#include <richedit.h>

#include <string>

#include "common/Diag.h"
#include "common/TextFormat.h"
#include "exec/FakeConsoleDlg.h"
#include "exec/ProcessRunner.h"
#include "framework/Clipboard.h"
#include "framework/FileReplace.h"
#include "framework/FileDialogs.h"
#include "framework/WideText.h"
#include "framework/WinApp.h"

namespace {

// System commands of our own: below 0xF000, low four bits clear.
constexpr UINT kCopyAllCommand = 0x0100;
constexpr UINT kSaveAsCommand = 0x0110;
constexpr UINT kSystemCommandMask = 0xFFF0;
constexpr UINT kUtf16 = 1200;

const wchar_t kTextFilesFilter[] = L"Text files (*.txt)\0*.txt\0All files (*.*)\0*.*\0";

// Past this, putting text on the clipboard takes long and many programs
// cannot paste it; saving is offered instead.
constexpr size_t kLargestClipboardText = 32 * 1024 * 1024;

// The control ends its paragraphs with a bare CR; a saved or pasted text
// ends every line with CR LF.
std::wstring WithCrLfLineEnds(const std::wstring& text)
{
    std::wstring out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        if (c == L'\r' || c == L'\n') {
            out += L"\r\n";
            if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')
                ++i;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

}  // namespace

void FakeConsoleDlg::AddOutputMenuItems()
{
    HMENU menu = GetSystemMenu(FALSE);
    if (menu == nullptr)
        return;
    ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(menu, MF_STRING, kCopyAllCommand, "Copy all output");
    ::AppendMenuA(menu, MF_STRING, kSaveAsCommand, "Save output as...");
}

std::wstring FakeConsoleDlg::ShownText() const
{
    if (!outputCtrl.IsWindow())
        return std::wstring();
    GETTEXTLENGTHEX measure = { GTL_NUMCHARS | GTL_PRECISE, kUtf16 };
    LRESULT length = outputCtrl.SendMessage(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&measure), 0);
    if (length <= 0)
        return std::wstring();
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    GETTEXTEX how = {};
    how.cb = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    how.flags = GT_DEFAULT;
    how.codepage = kUtf16;
    LRESULT copied = outputCtrl.SendMessage(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&how),
                                            reinterpret_cast<LPARAM>(&text[0]));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return WithCrLfLineEnds(text);
}

void FakeConsoleDlg::OnSysCommand(UINT id, LPARAM)
{
    // The low four bits of a system command are the system's own.
    const UINT command = id & kSystemCommandMask;
    if (command == kCopyAllCommand)
        CopyAllOutput();
    else if (command == kSaveAsCommand)
        SaveOutputAs();
    else
        Default();
}

void FakeConsoleDlg::CopyAllOutput()
{
    if (transcript && transcript->Size() > kLargestClipboardText) {
        const std::string question =
            FormatText("The output is too large for the clipboard (%d MB).\n\nSave it to a file instead?",
                       static_cast<int>(transcript->Size() / (1024 * 1024)));
        if (MessageBox(question, AfxGetAppName(), MB_YESNO | MB_ICONINFORMATION) == IDYES)
            SaveOutputAs();
        return;
    }
    const std::wstring text = transcript ? ToWide(transcript->Text(), CP_UTF8) : ShownText();
    if (PutTextOnClipboard(m_hWnd, text))
        Diag("Copied all output to clipboard (%d characters)\n", static_cast<int>(text.size()));
    else
        MessageBox("Could not put the output on the clipboard.", AfxGetAppName(), MB_OK | MB_ICONEXCLAMATION);
}

void FakeConsoleDlg::SaveOutputAs()
{
    std::string path;
    if (!AskSavePath(m_hWnd, kTextFilesFilter, L"txt", path))
        return;
    // Taken after the dialog: a run goes on while the user picks the name.
    SaveOutputTo(path);
}

bool FakeConsoleDlg::SaveOutputTo(const std::string& path)
{
    // UTF-8 keeps every character, whatever the code page.
    size_t saved = 0;
    const std::string shown = transcript ? std::string() : FromWide(ShownText(), CP_UTF8);
    const FileContentsWriter contents = [&](const std::function<bool(const char*, size_t)>& write) {
        auto counted = [&](const char* data, size_t size) {
            saved += size;
            return write(data, size);
        };
        return transcript ? transcript->WriteTo(counted) : counted(shown.data(), shown.size());
    };
    DWORD error = 0;
    if (ReplaceFileContents(path, contents, error)) {
        Diag("Saved output to %s (%d bytes)\n", path.c_str(), static_cast<int>(saved));
        return true;
    }
    Diag("ERROR: Could not save output to %s\n", path.c_str());
    MessageBox("Could not save the output to\n" + path + "\n\n" + ProcessRunner::DescribeError(error),
               AfxGetAppName(), MB_OK | MB_ICONEXCLAMATION);
    return false;
}

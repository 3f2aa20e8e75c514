// Typing into a typed radio's edit box, files dropped from the shell, Browse
// requests that cannot be served, and the focus trace.

#include <gtest/gtest.h>

#include <windows.h>

#include <dlgs.h>
#include <shlobj.h>

#include <atomic>
#include <cstring>

#include "FormHarness.h"

namespace {

int Check(FormControl& def) { return (int)def.m_pButton->SendMessage(BM_GETCHECK); }

// A drop as the shell makes it: DROPFILES followed by the paths in UTF-16,
// each zero-terminated, and one more zero. The receiver frees it (DragFinish).
HDROP MakeDrop(POINT clientPoint, const std::vector<std::string>& paths)
{
    std::wstring names;
    for (const std::string& path : paths) {
        std::wstring wide(path.size(), L'\0');
        wide.resize(static_cast<size_t>(::MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()),
                                                              &wide[0], static_cast<int>(wide.size()))));
        names += wide + L'\0';
    }
    names += L'\0';
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(::GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->pt = clientPoint;
    drop->fNC = FALSE;
    drop->fWide = TRUE;
    memcpy(drop + 1, names.data(), names.size() * sizeof(wchar_t));
    ::GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

// A name of `count` Chinese characters (three bytes each in UTF-8): long
// enough that its path takes more than 260 bytes.
std::string ChineseName(size_t count)
{
    std::string name;
    for (size_t i = 0; i < count; ++i)
        name += "\xE6\x96\x87";  // 文
    return name;
}

// The centre of a window in the dialog's client coordinates.
POINT CentreIn(HWND window, HWND dialog)
{
    RECT r = RectIn(window, dialog);
    return { (r.left + r.right) / 2, (r.top + r.bottom) / 2 };
}

// Answers the next file or folder dialog that `owner` opens, from a thread
// of its own while the test's thread waits inside the dialog: with a file
// name typed and OK, or with Cancel when `fileName` is empty.
class DialogAnswer {
public:
    DialogAnswer(HWND owner, std::string fileName) : m_owner(owner), m_fileName(std::move(fileName))
    {
        m_thread = ::CreateThread(nullptr, 0, Run, this, 0, nullptr);
    }
    ~DialogAnswer()
    {
        ::WaitForSingleObject(m_thread, 15000);
        ::CloseHandle(m_thread);
    }
    bool Answered() const { return m_answered.load(); }

private:
    static BOOL CALLBACK FindOwned(HWND window, LPARAM context)
    {
        auto* self = reinterpret_cast<DialogAnswer*>(context);
        char className[16] = {};
        ::GetClassNameA(window, className, sizeof className);
        if (::GetWindow(window, GW_OWNER) == self->m_owner && ::IsWindowVisible(window) &&
            strcmp(className, "#32770") == 0) {
            self->m_dialog = window;
            return FALSE;
        }
        return TRUE;
    }

    static DWORD WINAPI Run(void* context)
    {
        auto* self = static_cast<DialogAnswer*>(context);
        for (int wait = 0; wait < 500 && self->m_dialog == nullptr; ++wait) {
            ::Sleep(20);
            ::EnumWindows(FindOwned, reinterpret_cast<LPARAM>(self));
        }
        if (self->m_dialog == nullptr)
            return 0;
        // Said before the dialog can close, so that the waiting test sees it.
        self->m_answered = true;
        if (self->m_fileName.empty()) {
            ::PostMessageA(self->m_dialog, WM_COMMAND, IDCANCEL, 0);
        } else {
            // The file name box: a combo box in the newer dialogs, an edit box in the older.
            HWND name = ::GetDlgItem(self->m_dialog, cmb13);
            if (name == nullptr)
                name = ::GetDlgItem(self->m_dialog, edt1);
            ::SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(self->m_fileName.c_str()));
            ::PostMessageA(self->m_dialog, WM_COMMAND, IDOK, 0);
        }
        return 0;
    }

    HWND m_owner;
    std::string m_fileName;
    HWND m_dialog = nullptr;
    std::atomic<bool> m_answered{ false };
    HANDLE m_thread = nullptr;
};

}  // namespace

TEST(InputHelpers, TypingIntoATypedRadioSelectsItInItsGroupOnly)
{
    OpenForm form(FormText("", { "{{radiostart}}", "-a A", "-n {{number}} Count", "{{radioend}}",
                                 "{{radiostart}}", "-x X", "{{radioend}}" }));
    form.Control(0).m_pButton->SendMessage(BM_CLICK);
    form.Control(2).m_pButton->SendMessage(BM_CLICK);
    ASSERT_EQ(BST_CHECKED, Check(form.Control(0)));
    form.ResetDiagnostics();

    form.Control(1).m_pEdit->SetWindowText("5");
    EXPECT_EQ(BST_UNCHECKED, Check(form.Control(0)));
    EXPECT_EQ(BST_CHECKED, Check(form.Control(1)));
    EXPECT_EQ(BST_CHECKED, Check(form.Control(2)));  // another group
    EXPECT_TRUE(form.Logged("OnRadioEditChange: nID=8001\n  User typed in edit 1, auto-selecting its radio\n"));

    // Typing on while selected, or emptying the box, changes nothing.
    form.ResetDiagnostics();
    form.Control(1).m_pEdit->SetWindowText("50");
    form.Control(1).m_pEdit->SetWindowText("");
    EXPECT_EQ(BST_CHECKED, Check(form.Control(1)));
    EXPECT_FALSE(form.Logged("User typed"));
    form.Control(0).m_pButton->SendMessage(BM_CLICK);
    form.Control(1).m_pEdit->SetWindowText("");
    EXPECT_EQ(BST_UNCHECKED, Check(form.Control(1)));
}

TEST(InputHelpers, DropPutsTheFirstPathIntoThePathFieldUnderThePoint)
{
    OpenForm form(FormText("", { "-t {{text}} Text", "-i {{file}} Input", "{{radiostart}}", "-a A",
                                 "-d {{dir}} Folder", "{{radioend}}" }));
    CTavrelDlg& dlg = form.Dialog();
    HDROP drop = MakeDrop(CentreIn(form.Control(1).m_pEdit->m_hWnd, dlg.m_hWnd),
                          { "C:\\first.txt", "C:\\second.txt", "C:\\third.txt" });
    dlg.SendMessage(WM_DROPFILES, (WPARAM)drop);
    EXPECT_EQ("C:\\first.txt", form.Control(1).m_pEdit->GetWindowText());
    EXPECT_TRUE(form.Logged("  Found target edit box (control 1)\nDropped file: C:\\first.txt\n"));

    // Not a path field: nothing changes.
    form.ResetDiagnostics();
    drop = MakeDrop(CentreIn(form.Control(0).m_pEdit->m_hWnd, dlg.m_hWnd), { "C:\\x.txt" });
    dlg.SendMessage(WM_DROPFILES, (WPARAM)drop);
    EXPECT_EQ("", form.Control(0).m_pEdit->GetWindowText());
    EXPECT_TRUE(form.Logged("  Drop not over any file/dir edit box\n"));

    // A typed radio of a path type takes the drop and gets selected.
    form.Control(2).m_pButton->SendMessage(BM_CLICK);
    drop = MakeDrop(CentreIn(form.Control(3).m_pEdit->m_hWnd, dlg.m_hWnd), { "C:\\folder" });
    dlg.SendMessage(WM_DROPFILES, (WPARAM)drop);
    EXPECT_EQ("C:\\folder", form.Control(3).m_pEdit->GetWindowText());
    EXPECT_EQ(BST_CHECKED, Check(form.Control(3)));
    EXPECT_EQ(BST_UNCHECKED, Check(form.Control(2)));

    // Every character of a path that takes more than 260 bytes.
    const std::string longPath = "C:\\" + ChineseName(100) + ".txt";
    drop = MakeDrop(CentreIn(form.Control(1).m_pEdit->m_hWnd, dlg.m_hWnd), { longPath });
    dlg.SendMessage(WM_DROPFILES, (WPARAM)drop);
    EXPECT_EQ(longPath, form.Control(1).m_pEdit->GetWindowText());
}

TEST(InputHelpers, BrowseRequestsWithoutAFieldAreRefused)
{
    OpenForm form(FormText("", { "{{drive}} Drive", "-t {{text}} Text" }));
    form.ResetDiagnostics();
    form.Dialog().SendMessage(WM_COMMAND, MAKEWPARAM(3050, BN_CLICKED));
    EXPECT_TRUE(form.Logged("OnBrowse: ID=3050\nERROR: Invalid browse button ID\n"));
    form.ResetDiagnostics();
    form.Dialog().SendMessage(WM_COMMAND, MAKEWPARAM(3000, BN_CLICKED));
    EXPECT_TRUE(form.Logged("OnBrowse: ID=3000\nERROR: No edit box associated with browse button\n"));
    // A field that is no path type has an edit box but nothing to browse.
    form.ResetDiagnostics();
    form.Dialog().SendMessage(WM_COMMAND, MAKEWPARAM(3001, BN_CLICKED));
    EXPECT_EQ("OnBrowse: ID=3001\n", form.Diagnostics());
}

TEST(InputHelpers, FocusTraceNamesTheFocusedWindow)
{
    OpenForm form(FormText("", { "{{required text}} Name" }));
    CWnd* edit = form.Control(0).m_pEdit.get();
    edit->SetWindowText("Ada");
    edit->SetFocus();
    form.ResetDiagnostics();
    form.Dialog().LogFocus("Probe");
    char expected[160];
    snprintf(expected, sizeof expected, "[FOCUS Probe] HWND=%08lX, ID=2001, Class='Edit', Text='Ada'\n",
             (unsigned long)(UINT_PTR)edit->m_hWnd);
    EXPECT_EQ(expected, form.Diagnostics());

    ::SetFocus(nullptr);
    form.ResetDiagnostics();
    form.Dialog().LogFocus("Probe");
    EXPECT_EQ("[FOCUS Probe] No control has focus\n", form.Diagnostics());
}

TEST(InputHelpers, BrowseOpensTheSystemDialogsAndTakesTheChosenFile)
{
    OpenForm form(FormText("", { "-i {{file}} Input", "-d {{dir}} Folder" }));
    // Beside the form, named in Chinese. (Wine's file dialog itself refuses
    // a name whose path takes more than 260 bytes, even in its Unicode form.)
    const std::string chosen = form.Path().substr(0, form.Path().find_last_of('\\') + 1) + ChineseName(40) + ".txt";
    HANDLE file = ::CreateFileA(chosen.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    ::CloseHandle(file);
    {
        DialogAnswer answer(form.Dialog().m_hWnd, chosen);
        form.Control(0).m_pBrowse->SendMessage(BM_CLICK);
        EXPECT_TRUE(answer.Answered()) << "no file dialog opened";
    }
    EXPECT_EQ(chosen, form.Control(0).m_pEdit->GetWindowText());
    EXPECT_TRUE(form.Logged("Selected file: " + chosen + "\n"));

    form.Control(1).m_pEdit->SetWindowText("C:\\kept");
    {
        DialogAnswer cancel(form.Dialog().m_hWnd, "");
        form.Control(1).m_pBrowse->SendMessage(BM_CLICK);
        EXPECT_TRUE(cancel.Answered()) << "no folder dialog opened";
    }
    EXPECT_EQ("C:\\kept", form.Control(1).m_pEdit->GetWindowText());
    EXPECT_FALSE(form.Logged("Selected folder"));
    ::DeleteFileA(chosen.c_str());
}

TEST(InputHelpers, BrowseOfAPathFieldFarDownTheFormOpensItsDialog)
{
    // Position 150: beyond where the Browse identifiers used to be handled.
    std::vector<std::string> lines(150, "-c Check");
    lines.push_back("-d {{dir}} Folder");
    OpenForm form(FormText("", lines));
    form.ResetDiagnostics();
    {
        DialogAnswer cancel(form.Dialog().m_hWnd, "");
        form.Control(150).m_pBrowse->SendMessage(BM_CLICK);
        EXPECT_TRUE(cancel.Answered()) << "no folder dialog opened";
    }
    EXPECT_TRUE(form.Logged("OnBrowse: ID=3150\n"));
    EXPECT_FALSE(form.Logged("ERROR"));
}

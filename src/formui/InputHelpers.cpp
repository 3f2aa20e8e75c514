// Helpers for filling the fields: Browse dialogs, files dropped from the
// shell, radio buttons selected by typing into their edit box, and the focus
// trace. Nothing here validates: values are checked when the form runs.

#include <windows.h>

#include <commdlg.h>
#include <ole2.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "common/Diag.h"
#include "formdef/FormKeywords.h"
#include "formui/ControlIds.h"
#include "formui/TavrelDlg.h"
#include "framework/FileDialogs.h"
#include "framework/SystemLibrary.h"
#include "framework/WideText.h"

namespace {

constexpr DWORD kPathBufferSize = MAX_PATH;  // 260 characters

// Both file dialogs offer one filter: every file.
const wchar_t kAllFilesFilter[] = L"All Files (*.*)\0*.*\0";

// COM lives in a library that most openings of a form never need: it is
// loaded at the first Browse, which keeps start-up short.
using OleInitializeFn = HRESULT(WINAPI*)(LPVOID);
using OleUninitializeFn = void(WINAPI*)();

// The folder browser of the new style needs COM on this thread.
class ComScope {
public:
    ComScope()
    {
        static const auto initialize = SystemLibraryFunction<OleInitializeFn>("ole32.dll", "OleInitialize");
        m_initialized = initialize != nullptr && SUCCEEDED(initialize(nullptr));
    }
    ~ComScope()
    {
        static const auto uninitialize = SystemLibraryFunction<OleUninitializeFn>("ole32.dll", "OleUninitialize");
        if (m_initialized && uninitialize != nullptr)
            uninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool m_initialized = false;
};

bool BrowseForFolder(HWND owner, bool includeFiles, std::string* chosen)
{
    ComScope com;
    char displayName[kPathBufferSize] = {};
    BROWSEINFOA info = {};
    info.hwndOwner = owner;
    info.pidlRoot = nullptr;
    info.pszDisplayName = displayName;
    info.lpszTitle = includeFiles ? "Select File or Folder:" : "Select Folder:";
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | (includeFiles ? BIF_BROWSEINCLUDEFILES : 0);
    LPITEMIDLIST items = ::SHBrowseForFolderA(&info);
    if (items == nullptr)
        return false;  // cancelled
    // The 8-bit form would fail for a path that takes more than 260 bytes,
    // which a path of fewer than 260 characters may do in UTF-8.
    wchar_t path[kPathBufferSize] = {};
    bool converted = ::SHGetPathFromIDListW(items, path) != FALSE;
    IMalloc* shellAllocator = nullptr;
    if (SUCCEEDED(::SHGetMalloc(&shellAllocator)) && shellAllocator != nullptr) {
        shellAllocator->Free(items);
        shellAllocator->Release();
    }
    if (converted)
        *chosen = FromWide(path);
    return converted;
}

bool BrowseForFile(HWND owner, bool save, const std::string& current, std::string* chosen)
{
    // No overwrite prompt for a new file: that question comes when the
    // form is run.
    const DWORD flags = save ? (OFN_HIDEREADONLY | OFN_ENABLESIZING)
                             : (OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_ENABLESIZING);
    std::string path = current;
    if (!ShowFileDialog(owner, save ? FileDialogKind::Save : FileDialogKind::Open, kAllFilesFilter, nullptr, flags,
                        path))
        return false;
    *chosen = path;
    return true;
}

}  // namespace

void CTavrelDlg::OnBrowse(UINT id)
{
    Diag("OnBrowse: ID=%d\n", static_cast<int>(id));
    FormControl* control = ControlAt(ControlIndexFromId(IdRange::Browse, static_cast<int>(id)));
    if (control == nullptr) {
        Diag("ERROR: Invalid browse button ID\n");
        return;
    }
    if (!control->m_pEdit) {
        Diag("ERROR: No edit box associated with browse button\n");
        return;
    }
    CWnd& edit = *control->m_pEdit;
    std::string current = edit.GetWindowText();
    std::string chosen;
    const PathType* type = FindPathType(control->Def().m_strType);
    if (type != nullptr && type->folders) {
        if (BrowseForFolder(m_hWnd, type->files, &chosen)) {
            edit.SetWindowText(chosen);
            Diag("Selected folder: %s\n", chosen.c_str());
        }
    } else if (type != nullptr && type->files) {
        if (BrowseForFile(m_hWnd, !type->existing, current, &chosen)) {
            edit.SetWindowText(chosen);
            Diag("Selected file: %s\n", chosen.c_str());
        }
    }
}

void CTavrelDlg::OnDropFiles(HDROP drop)
{
    POINT point = {};
    ::DragQueryPoint(drop, &point);
    Diag("OnDropFiles: Drop point = (%d, %d)\n", static_cast<int>(point.x), static_cast<int>(point.y));
    ClientToScreen(&point);

    CWnd* target = nullptr;
    int targetIndex = -1;
    for (size_t i = 0; i < m_formControls.size() && target == nullptr; ++i) {
        CWnd* edit = m_formControls[i].m_pEdit.get();
        if (edit == nullptr || !m_formControls[i].Def().IsPathType() || !edit->IsWindow())
            continue;
        RECT rect = {};
        edit->GetWindowRect(&rect);
        if (::PtInRect(&rect, point)) {
            target = edit;
            targetIndex = static_cast<int>(i);
        }
    }

    if (target != nullptr) {
        Diag("  Found target edit box (control %d)\n", targetIndex);
        // Read wide and measured first: the 8-bit form counts characters
        // where the program's text needs bytes, and would cut the path.
        UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
        UINT length = count > 0 ? ::DragQueryFileW(drop, 0, nullptr, 0) : 0;
        std::wstring wide(length + 1, L'\0');
        if (length > 0 && ::DragQueryFileW(drop, 0, &wide[0], length + 1) > 0) {
            std::string path = FromWide(wide.substr(0, length));
            target->SetWindowText(path);
            Diag("Dropped file: %s\n", path.c_str());
        }
    } else {
        Diag("  Drop not over any file/dir edit box\n");
    }
    ::DragFinish(drop);
}

void CTavrelDlg::OnRadioClicked(UINT id)
{
    // The platform's automatic radio buttons do the selecting.
    Diag("OnRadioClicked: nID=%d (radio button selected)\n", static_cast<int>(id));
}

void CTavrelDlg::OnRadioEditChange(UINT id)
{
    Diag("OnRadioEditChange: nID=%d\n", static_cast<int>(id));
    const int index = ControlIndexFromId(IdRange::RadioEdit, static_cast<int>(id));
    const FormControl* typed = ControlAt(index);
    if (typed == nullptr || !typed->m_pButton || !typed->m_pEdit || typed->Def().m_nRadioGroup < 0)
        return;
    if (typed->m_pEdit->GetWindowTextLength() == 0)
        return;  // emptying the box never unselects the radio button
    if (typed->m_pButton->SendMessage(BM_GETCHECK) != 0)
        return;
    Diag("  User typed in edit %d, auto-selecting its radio\n", index);
    const int group = typed->Def().m_nRadioGroup;
    for (size_t i = 0; i < m_formControls.size(); ++i) {
        const FormControl& member = m_formControls[i];
        if (member.Def().m_nRadioGroup != group || !member.m_pButton)
            continue;
        member.m_pButton->SendMessage(BM_SETCHECK, static_cast<int>(i) == index ? BST_CHECKED : BST_UNCHECKED);
    }
}

void CTavrelDlg::LogFocus(const char* tag)
{
    HWND focus = ::GetFocus();
    if (focus == nullptr) {
        Diag("[FOCUS %s] No control has focus\n", tag);
        return;
    }
    char className[256] = {};
    ::GetClassNameA(focus, className, sizeof className);
    std::string text = WindowText(focus);
    Diag("[FOCUS %s] HWND=%p, ID=%d, Class='%s', Text='%s'\n", tag, (void*)focus, ::GetDlgCtrlID(focus),
         className, text.c_str());
}

void CTavrelDlg::OnSetFocus(HWND)
{
    Default();
    LogFocus("OnSetFocus");
}

void CTavrelDlg::OnKillFocus(HWND)
{
    Default();
    Diag("[FOCUS OnKillFocus] Dialog losing focus\n");
}

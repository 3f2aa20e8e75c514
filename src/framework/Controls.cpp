#include "framework/Controls.h"

#include <richedit.h>

#include "framework/DisplayScale.h"
#include "framework/Handles.h"

#include <vector>

std::string CComboBox::GetLBText(int index) const
{
    int length = (int)SendMessage(CB_GETLBTEXTLEN, (WPARAM)index);
    if (length == CB_ERR || length <= 0)
        return std::string();
    std::vector<char> buffer(static_cast<size_t>(length) + 1);
    int copied = (int)SendMessage(CB_GETLBTEXT, (WPARAM)index, (LPARAM)buffer.data());
    return copied > 0 ? std::string(buffer.data(), static_cast<size_t>(copied)) : std::string();
}

void CRichEditCtrl::GetSel(long& start, long& end) const
{
    CHARRANGE range = {};
    SendMessage(EM_EXGETSEL, 0, (LPARAM)&range);
    start = range.cpMin;
    end = range.cpMax;
}

void CRichEditCtrl::SetSel(long start, long end)
{
    CHARRANGE range = { start, end };
    SendMessage(EM_EXSETSEL, 0, (LPARAM)&range);
}

long CRichEditCtrl::GetTextLength() const
{
    GETTEXTLENGTHEX query = { GTL_NUMCHARS | GTL_PRECISE, 1200 };
    return (long)SendMessage(EM_GETTEXTLENGTHEX, (WPARAM)&query, 0);
}

long CRichEditCtrl::LineFromChar(long charIndex) const
{
    return (long)SendMessage(EM_EXLINEFROMCHAR, 0, (LPARAM)charIndex);
}

long CRichEditCtrl::LineIndex(long line) const { return (long)SendMessage(EM_LINEINDEX, (WPARAM)line); }

int CRichEditCtrl::GetFirstVisibleLine() const { return (int)SendMessage(EM_GETFIRSTVISIBLELINE); }

int CRichEditCtrl::GetLineCount() const { return (int)SendMessage(EM_GETLINECOUNT); }

void CRichEditCtrl::LineScroll(int lines) { SendMessage(EM_LINESCROLL, 0, (LPARAM)lines); }

void CRichEditCtrl::LimitText(long maxCharacters) { SendMessage(EM_EXLIMITTEXT, 0, (LPARAM)maxCharacters); }

void CRichEditCtrl::HideSelection(BOOL hide) { SendMessage(EM_HIDESELECTION, (WPARAM)hide); }

BOOL CFont::CreatePointFont(int pointSize, const char* faceName, int dpi)
{
    DeleteObject();
    int height = FontHeightForDpi(pointSize, dpi > 0 ? dpi : SystemDpi());
    LOGFONTA font = {};
    font.lfHeight = height;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(font.lfFaceName, faceName, LF_FACESIZE);
    m_hFont = ::CreateFontIndirectA(&font);
    return m_hFont != nullptr;
}

void CFont::DeleteObject()
{
    if (m_hFont != nullptr) {
        ::DeleteObject(m_hFont);
        m_hFont = nullptr;
    }
}

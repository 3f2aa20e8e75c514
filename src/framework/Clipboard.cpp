#include "framework/Clipboard.h"

#include <cstring>

#include "framework/WideText.h"

namespace {

// The clipboard takes ownership of the memory once SetClipboardData succeeds.
bool PutFormat(UINT format, const void* data, size_t bytes)
{
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (memory == nullptr)
        return false;
    void* target = GlobalLock(memory);
    if (target == nullptr) {
        GlobalFree(memory);
        return false;
    }
    memcpy(target, data, bytes);
    GlobalUnlock(memory);
    if (SetClipboardData(format, memory) == nullptr) {
        GlobalFree(memory);
        return false;
    }
    return true;
}

bool PutBoth(HWND owner, const std::string& narrow, const std::wstring& wide)
{
    // Another program may hold the clipboard for a moment.
    bool opened = false;
    for (int attempt = 0; attempt < 10 && !opened; ++attempt) {
        opened = OpenClipboard(owner) != FALSE;
        if (!opened)
            Sleep(20);
    }
    if (!opened)
        return false;
    bool put = EmptyClipboard() != FALSE;
    put = put && PutFormat(CF_UNICODETEXT, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
    put = put && PutFormat(CF_TEXT, narrow.c_str(), narrow.size() + 1);
    CloseClipboard();
    return put;
}

}  // namespace

bool PutTextOnClipboard(HWND owner, const std::string& text) { return PutBoth(owner, text, ToWide(text)); }

bool PutTextOnClipboard(HWND owner, const std::wstring& text) { return PutBoth(owner, FromWide(text), text); }

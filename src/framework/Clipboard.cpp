#include "framework/Clipboard.h"

#include <cstring>

#include "framework/Handles.h"
#include "framework/WideText.h"

namespace {

// The clipboard takes ownership of the memory once SetClipboardData succeeds.
bool PutFormat(UINT format, const void* data, size_t bytes)
{
    UniqueGlobalMemory memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory.Valid())
        return false;
    void* target = GlobalLock(memory.Get());
    if (target == nullptr)
        return false;
    memcpy(target, data, bytes);
    GlobalUnlock(memory.Get());
    if (SetClipboardData(format, memory.Get()) == nullptr)
        return false;
    memory.Release();
    return true;
}

// Ten tries 20 ms apart: a clipboard viewer or another program's copy holds
// the clipboard for a few milliseconds at most.
constexpr int kOpenAttempts = 10;
constexpr DWORD kOpenRetryPauseMs = 20;

bool PutBoth(HWND owner, const std::string& narrow, const std::wstring& wide)
{
    // Another program may hold the clipboard for a moment.
    bool opened = false;
    for (int attempt = 0; attempt < kOpenAttempts && !opened; ++attempt) {
        opened = OpenClipboard(owner) != FALSE;
        if (!opened)
            Sleep(kOpenRetryPauseMs);
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

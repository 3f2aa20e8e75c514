#include "framework/WideText.h"

#include <cwchar>
#include <vector>

std::wstring ToWide(const std::string& text, UINT codePage)
{
    if (text.empty())
        return std::wstring();
    const int length = static_cast<int>(text.size());
    const int wideLength = ::MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
    if (wideLength <= 0)
        return std::wstring();
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    ::MultiByteToWideChar(codePage, 0, text.data(), length, &wide[0], wideLength);
    return wide;
}

std::string FromWide(const std::wstring& wide, UINT codePage)
{
    if (wide.empty())
        return std::string();
    const int length = static_cast<int>(wide.size());
    const int textLength = ::WideCharToMultiByte(codePage, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    if (textLength <= 0)
        return std::string();
    std::string text(static_cast<size_t>(textLength), '\0');
    ::WideCharToMultiByte(codePage, 0, wide.data(), length, &text[0], textLength, nullptr, nullptr);
    return text;
}

std::string FromWideExactly(const std::wstring& wide, UINT codePage)
{
    if (wide.empty() || codePage == CP_UTF8)
        return FromWide(wide, codePage);
    const int length = static_cast<int>(wide.size());
    BOOL lossy = FALSE;
    const int textLength = ::WideCharToMultiByte(codePage, 0, wide.data(), length, nullptr, 0, nullptr, &lossy);
    if (textLength <= 0 || lossy)
        return std::string();
    return FromWide(wide, codePage);
}

UINT LocaleCodePage(LCTYPE which, LCID locale)
{
    wchar_t digits[8] = {};
    if (::GetLocaleInfoW(locale, which, digits, 8) == 0)
        return 0;
    return static_cast<UINT>(wcstoul(digits, nullptr, 10));
}

bool ExpandEnvironmentReferences(const std::string& text, std::string& expanded)
{
    const std::wstring wide = ToWide(text);
    DWORD needed = ::ExpandEnvironmentStringsW(wide.c_str(), nullptr, 0);
    if (needed == 0)
        return false;
    std::vector<wchar_t> buffer(needed);
    DWORD written = ::ExpandEnvironmentStringsW(wide.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (written == 0 || written > buffer.size())
        return false;
    expanded = FromWide(std::wstring(buffer.data(), wcslen(buffer.data())));
    return true;
}

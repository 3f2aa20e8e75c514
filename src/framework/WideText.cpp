#include "framework/WideText.h"

#include "common/EnvironmentReferences.h"

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
    // The system's own expansion handles no more than 32K bytes of UTF-16 on
    // some systems and cuts or refuses longer lines; the names are looked up
    // one by one instead, in UTF-16.
    expanded = ExpandReferencesWith(text, [](const std::string& name, std::string& value) {
        const std::wstring wideName = ToWide(name);
        DWORD needed = ::GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
        if (needed == 0)
            return false;
        std::wstring wide(needed, L'\0');
        DWORD length = ::GetEnvironmentVariableW(wideName.c_str(), &wide[0], needed);
        if (length >= needed)
            return false;
        wide.resize(length);
        value = FromWide(wide);
        return true;
    });
    return true;
}

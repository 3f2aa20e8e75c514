#include "exec/SystemCodePages.h"

#include <cwchar>

namespace {

constexpr UINT kFallbackOemCodePage = 437;

std::wstring ToWide(UINT codePage, const std::string& bytes)
{
    if (bytes.empty())
        return std::wstring();
    const int length = static_cast<int>(bytes.size());
    const int wideLength = ::MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
    if (wideLength <= 0)
        return std::wstring();
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    ::MultiByteToWideChar(codePage, 0, bytes.data(), length, &wide[0], wideLength);
    return wide;
}

// Characters the code page lacks are left out rather than guessed.
std::string FromWide(UINT codePage, const std::wstring& wide)
{
    if (wide.empty())
        return std::string();
    const int length = static_cast<int>(wide.size());
    BOOL lossy = FALSE;
    BOOL* lossyFlag = codePage == CP_UTF8 ? nullptr : &lossy;
    const int byteLength = ::WideCharToMultiByte(codePage, 0, wide.data(), length, nullptr, 0, nullptr, lossyFlag);
    if (byteLength <= 0 || lossy)
        return std::string();
    std::string bytes(static_cast<size_t>(byteLength), '\0');
    ::WideCharToMultiByte(codePage, 0, wide.data(), length, &bytes[0], byteLength, nullptr, nullptr);
    return bytes;
}

UINT CodePageOfLocale(LCID locale, LCTYPE which)
{
    wchar_t digits[8] = {};
    if (::GetLocaleInfoW(locale, which, digits, 8) == 0)
        return 0;
    return static_cast<UINT>(wcstoul(digits, nullptr, 10));
}

// The code page the keyboard's characters come in to an 8-bit window: the
// one of the input language.
UINT InputCodePage()
{
    const LANGID language = LOWORD(reinterpret_cast<UINT_PTR>(::GetKeyboardLayout(0)));
    const UINT codePage = CodePageOfLocale(MAKELCID(language, SORT_DEFAULT), LOCALE_IDEFAULTANSICODEPAGE);
    return codePage != 0 ? codePage : CP_ACP;
}

}  // namespace

UINT SystemOemCodePage()
{
    static const UINT codePage = [] {
        const UINT fromLocale = CodePageOfLocale(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTCODEPAGE);
        // 1 is CP_OEMCP, a placeholder some locales answer with.
        if (fromLocale > 1 && fromLocale != CP_UTF8 && ::IsValidCodePage(fromLocale))
            return fromLocale;
        const UINT own = ::GetOEMCP();
        return own != CP_UTF8 ? own : kFallbackOemCodePage;
    }();
    return codePage;
}

ConsoleOutputDecoder MakeSystemOutputDecoder()
{
    const UINT oem = SystemOemCodePage();
    return ConsoleOutputDecoder([oem](const std::string& bytes) { return FromWide(CP_UTF8, ToWide(oem, bytes)); },
                                [oem](unsigned char byte) { return ::IsDBCSLeadByteEx(oem, byte) != FALSE; });
}

std::string TypedCharacterForChild(WPARAM character, bool childSpeaksUtf8)
{
    std::string bytes;
    if (character & 0xFF00)
        bytes.push_back(static_cast<char>((character >> 8) & 0xFF));
    bytes.push_back(static_cast<char>(character & 0xFF));
    if (static_cast<unsigned char>(bytes.back()) < 0x80 && bytes.size() == 1)
        return bytes;  // the same in every code page
    return FromWide(childSpeaksUtf8 ? CP_UTF8 : SystemOemCodePage(), ToWide(InputCodePage(), bytes));
}

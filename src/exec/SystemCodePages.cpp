#include "exec/SystemCodePages.h"

#include "framework/WideText.h"

namespace {

constexpr UINT kFallbackOemCodePage = 437;

// The code page the keyboard's characters come in to an 8-bit window: the
// one of the input language.
UINT InputCodePage()
{
    const LANGID language = LOWORD(reinterpret_cast<UINT_PTR>(::GetKeyboardLayout(0)));
    const UINT codePage = LocaleCodePage(LOCALE_IDEFAULTANSICODEPAGE, MAKELCID(language, SORT_DEFAULT));
    return codePage != 0 ? codePage : CP_ACP;
}

}  // namespace

UINT SystemOemCodePage()
{
    static const UINT codePage = [] {
        const UINT fromLocale = LocaleCodePage(LOCALE_IDEFAULTCODEPAGE);
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
    return ConsoleOutputDecoder([oem](const std::string& bytes) { return FromWide(ToWide(bytes, oem), CP_UTF8); },
                                [oem](unsigned char byte) { return ::IsDBCSLeadByteEx(oem, byte) != FALSE; });
}

std::wstring TypedCharacterAsWide(WPARAM character)
{
    std::string bytes;
    if (character & 0xFF00)
        bytes.push_back(static_cast<char>((character >> 8) & 0xFF));
    bytes.push_back(static_cast<char>(character & 0xFF));
    if (bytes.size() == 1 && static_cast<unsigned char>(bytes[0]) < 0x80)
        return std::wstring(1, static_cast<wchar_t>(bytes[0]));  // the same in every code page
    return ToWide(bytes, InputCodePage());
}

bool Utf8ToSystemOem(const std::string& utf8, std::string& oem)
{
    oem = FromWideExactly(ToWide(utf8, CP_UTF8), SystemOemCodePage());
    return !oem.empty() || utf8.empty();
}

#include "formdef/SystemTextCodePages.h"

#include <windows.h>

#include <string>

#include "formdef/FormTextDecoding.h"
#include "framework/WideText.h"

namespace {

// Western European, for a locale that names no ANSI code page of its own
// (a Unicode-only locale).
constexpr UINT kFallbackAnsiCodePage = 1252;

std::string Convert(const std::string& text, UINT from, UINT to)
{
    return FromWide(ToWide(text, from), to);
}

class SystemTextCodePages : public TextCodePages {
public:
    std::string LegacyToUtf8(const std::string& bytes) const override
    {
        return Convert(bytes, SystemLegacyAnsiCodePage(), CP_UTF8);
    }
    std::string Utf8ToProgram(const std::string& text) const override
    {
        // Windows before 10 version 1903 ignores the manifest's UTF-8: the
        // program's text is then in the ANSI code page like every call's.
        return ::GetACP() == CP_UTF8 ? text : Convert(text, CP_UTF8, CP_ACP);
    }
};

}  // namespace

unsigned SystemLegacyAnsiCodePage()
{
    const UINT codePage = LocaleCodePage(LOCALE_IDEFAULTANSICODEPAGE);
    return codePage != 0 ? codePage : kFallbackAnsiCodePage;
}

void InstallSystemTextCodePages()
{
    static const SystemTextCodePages codePages;
    SetTextCodePages(&codePages);
}

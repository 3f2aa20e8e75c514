#pragma once
// Form definitions are written by any editor on any system: UTF-8 with or
// without a byte-order mark, UTF-16 with a mark, or legacy 8-bit text in the
// system's ANSI code page. Everything the parser reads is first turned into
// the program's own 8-bit text (UTF-8 wherever the system honours the
// program's manifest). Plain byte logic; the conversions that need the
// system's code-page tables are injected.

#include <string>

enum class FormTextEncoding {
    Utf8,           // valid UTF-8 without a mark (plain ASCII included)
    Utf8WithMark,   // EF BB BF, skipped
    Utf16LE,        // FF FE
    Utf16BE,        // FE FF
    Legacy,         // not valid UTF-8: the system's ANSI code page
};

class TextCodePages {
public:
    virtual ~TextCodePages() = default;
    // Bytes in the system's legacy ANSI code page, as UTF-8.
    virtual std::string LegacyToUtf8(const std::string& bytes) const = 0;
    // UTF-8 as the program's own 8-bit code page (unchanged where that is UTF-8).
    virtual std::string Utf8ToProgram(const std::string& text) const = 0;
};

// Not owned; null (the default, and the native build) leaves legacy bytes
// and the program's text as they are.
void SetTextCodePages(const TextCodePages* codePages);

// The program's 8-bit text for the bytes of a form definition, and which
// encoding they were found in.
std::string DecodeFormText(const std::string& bytes, FormTextEncoding* found = nullptr);

bool IsValidUtf8(const std::string& bytes);
// Code units two bytes each; an unpaired surrogate or a lone last byte
// becomes U+FFFD.
std::string Utf16ToUtf8(const std::string& bytes, bool bigEndian);

#pragma once
// Typing into the console, as plain string logic: the line being typed is
// held and echoed until Enter sends it, Backspace takes back its last
// character, as in a console. The line reaches the child in the encoding
// the child writes.

#include <functional>
#include <string>

class ConsoleLineEditor {
public:
    // A typed UTF-16 unit (the window's characters). Returns the UTF-8 text
    // to echo: the character when it is printable, nothing for control
    // characters (kept in the line, not shown) and for the first half of a
    // character beyond the basic plane (shown with its second half).
    std::string Type(char16_t unit);
    // Takes back the last character. True when there was one; `echoed` says
    // whether it was shown (and so must be erased from the window).
    bool Erase(bool& echoed);
    // The line as typed, in UTF-8; the editor is empty afterwards.
    std::string TakeLine();
    bool Empty() const { return line.empty(); }

private:
    std::u32string line;
    char16_t pendingLead = 0;
};

// UTF-8 of one code point (an unpaired surrogate becomes U+FFFD).
std::string Utf8Of(char32_t codePoint);

// Converts UTF-8 text to the OEM code page; false when the code page lacks
// one of its characters.
using ToOemExactly = std::function<bool(const std::string& utf8, std::string& oem)>;

// The bytes the child reads for a typed line: UTF-8 when the child writes
// UTF-8; otherwise the OEM code page when it has every character of the
// line, and UTF-8 when it lacks one, so that no character is ever dropped or
// turned into a question mark.
std::string TypedLineForChild(const std::string& utf8Line, bool childWritesUtf8, const ToOemExactly& toOem);

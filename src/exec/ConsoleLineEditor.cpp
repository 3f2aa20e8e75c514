#include "exec/ConsoleLineEditor.h"

namespace {

bool IsLeadSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsTrailSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }
bool IsShown(char32_t c) { return c >= 0x20 && c != 0x7F; }

}  // namespace

std::string Utf8Of(char32_t c)
{
    if (c >= 0xD800 && c <= 0xDFFF)
        c = 0xFFFD;
    std::string out;
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
    return out;
}

std::string ConsoleLineEditor::Type(char16_t unit)
{
    char32_t c = unit;
    if (IsLeadSurrogate(unit)) {
        pendingLead = unit;
        return std::string();
    }
    if (IsTrailSurrogate(unit) && pendingLead != 0)
        c = 0x10000 + ((static_cast<char32_t>(pendingLead) - 0xD800) << 10) + (unit - 0xDC00);
    pendingLead = 0;
    line.push_back(c);
    return IsShown(c) ? Utf8Of(c) : std::string();
}

bool ConsoleLineEditor::Erase(bool& echoed)
{
    pendingLead = 0;
    echoed = false;
    if (line.empty())
        return false;
    echoed = IsShown(line.back());
    line.pop_back();
    return true;
}

std::string ConsoleLineEditor::TakeLine()
{
    std::string utf8;
    for (char32_t c : line)
        utf8 += Utf8Of(c);
    line.clear();
    pendingLead = 0;
    return utf8;
}

std::string TypedLineForChild(const std::string& utf8Line, bool childWritesUtf8, const ToOemExactly& toOem)
{
    bool ascii = true;
    for (char c : utf8Line)
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii || childWritesUtf8)
        return utf8Line;
    std::string oem;
    if (toOem && toOem(utf8Line, oem))
        return oem;
    return utf8Line;
}

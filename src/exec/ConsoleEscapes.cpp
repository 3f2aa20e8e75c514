#include "exec/ConsoleEscapes.h"

#include <cstdlib>
#include <vector>

namespace {

// A string sequence (title, device control) that never ends is given up
// after this many bytes, and what follows shows again.
constexpr size_t kLongestSequence = 4096;

bool IsParameter(unsigned char c) { return c >= 0x30 && c <= 0x3F; }
bool IsIntermediate(unsigned char c) { return c >= 0x20 && c <= 0x2F; }
bool IsFinal(unsigned char c) { return c >= 0x40 && c <= 0x7E; }

enum class Scan { Complete, Unfinished, Broken };

// The sequence starting at text[at] (an escape): its length in `length`.
// Broken: not a sequence after all; the escape alone is dropped.
Scan ScanSequence(const std::string& text, size_t at, size_t& length, bool& style)
{
    style = false;
    if (at + 1 >= text.size())
        return Scan::Unfinished;
    const unsigned char kind = static_cast<unsigned char>(text[at + 1]);
    size_t i = at + 2;
    if (kind == '[') {
        while (i < text.size() && IsParameter(static_cast<unsigned char>(text[i])))
            ++i;
        const size_t parametersEnd = i;
        while (i < text.size() && IsIntermediate(static_cast<unsigned char>(text[i])))
            ++i;
        if (i >= text.size())
            return i - at > kLongestSequence ? Scan::Broken : Scan::Unfinished;
        if (!IsFinal(static_cast<unsigned char>(text[i])))
            return Scan::Broken;
        length = i + 1 - at;
        style = text[i] == 'm' && parametersEnd == i &&
                text.find_first_not_of("0123456789;", at + 2) >= parametersEnd;
        return Scan::Complete;
    }
    if (kind == ']' || kind == 'P' || kind == 'X' || kind == '^' || kind == '_') {
        // Ends with BEL or ESC backslash.
        for (; i < text.size(); ++i) {
            if (text[i] == '\x07') {
                length = i + 1 - at;
                return Scan::Complete;
            }
            if (text[i] == kEscape) {
                if (i + 1 >= text.size())
                    return Scan::Unfinished;
                length = i + (text[i + 1] == '\\' ? 2 : 0) - at;
                return Scan::Complete;  // a new escape ends it too
            }
            if (i - at > kLongestSequence)
                return Scan::Broken;
        }
        return Scan::Unfinished;
    }
    // ESC, any intermediates, one final byte.
    i = at + 1;
    while (i < text.size() && IsIntermediate(static_cast<unsigned char>(text[i])))
        ++i;
    if (i >= text.size())
        return Scan::Unfinished;
    if (static_cast<unsigned char>(text[i]) < 0x30 || static_cast<unsigned char>(text[i]) > 0x7E)
        return Scan::Broken;
    length = i + 1 - at;
    return Scan::Complete;
}

// The 256-colour palette: 16 basic colours, a 6x6x6 cube, 24 greys.
long PaletteColour(int index)
{
    static const long basic[16] = { 0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                    0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                    0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF };
    if (index < 0 || index > 255)
        return -1;
    if (index < 16)
        return basic[index];
    if (index < 232) {
        const int cube = index - 16;
        auto level = [](int v) { return v == 0 ? 0 : 55 + v * 40; };
        return (level(cube / 36) << 16) | (level(cube / 6 % 6) << 8) | level(cube % 6);
    }
    const int grey = 8 + (index - 232) * 10;
    return (grey << 16) | (grey << 8) | grey;
}

}  // namespace

std::string ConsoleEscapeFilter::Filter(const std::string& text)
{
    std::string work;
    if (held.empty()) {
        if (text.find(kEscape) == std::string::npos)
            return text;
        work = text;
    } else {
        work = held + text;
        held.clear();
    }
    std::string out;
    out.reserve(work.size());
    size_t i = 0;
    while (i < work.size()) {
        const size_t escape = work.find(kEscape, i);
        out.append(work, i, escape == std::string::npos ? std::string::npos : escape - i);
        if (escape == std::string::npos)
            break;
        size_t length = 0;
        bool style = false;
        const Scan scan = ScanSequence(work, escape, length, style);
        if (scan == Scan::Unfinished) {
            held = work.substr(escape);
            break;
        }
        if (scan == Scan::Broken) {
            i = escape + 1;
            continue;
        }
        if (style)
            out.append(work, escape, length);
        i = escape + length;
    }
    return out;
}

std::string WithoutStyleSequences(const std::string& filtered)
{
    if (filtered.find(kEscape) == std::string::npos)
        return filtered;
    std::string plain;
    TextStyle ignored;
    ForEachStyledRun(filtered, ignored, [&](const std::string& run, const TextStyle&) { plain += run; });
    return plain;
}

void ApplyStyleParameters(TextStyle& style, const std::string& parameters)
{
    std::vector<int> values;
    size_t start = 0;
    while (true) {
        const size_t end = parameters.find(';', start);
        const std::string value = parameters.substr(start, end == std::string::npos ? std::string::npos : end - start);
        values.push_back(value.empty() ? 0 : std::atoi(value.c_str()));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    for (size_t k = 0; k < values.size(); ++k) {
        const int v = values[k];
        long* target = nullptr;
        if (v == 0)
            style = TextStyle();
        else if (v == 1)
            style.bold = true;
        else if (v == 22)
            style.bold = false;
        else if (v >= 30 && v <= 37)
            style.foreground = PaletteColour(v - 30);
        else if (v >= 90 && v <= 97)
            style.foreground = PaletteColour(v - 90 + 8);
        else if (v == 39)
            style.foreground = -1;
        else if (v >= 40 && v <= 47)
            style.background = PaletteColour(v - 40);
        else if (v >= 100 && v <= 107)
            style.background = PaletteColour(v - 100 + 8);
        else if (v == 49)
            style.background = -1;
        if (v == 38 || v == 48) {
            target = v == 38 ? &style.foreground : &style.background;
            if (k + 2 < values.size() && values[k + 1] == 5) {
                *target = PaletteColour(values[k + 2]);
                k += 2;
            } else if (k + 4 < values.size() && values[k + 1] == 2) {
                *target = ((values[k + 2] & 0xFF) << 16) | ((values[k + 3] & 0xFF) << 8) | (values[k + 4] & 0xFF);
                k += 4;
            }
        }
    }
}

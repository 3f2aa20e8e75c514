#pragma once
// Escape sequences in a child's output, as plain string logic.
//
// Programs that colour their output write escape sequences. The filter
// keeps the colour and style sequences (SGR: ESC [ parameters m) in the
// text, complete and in one place, and drops every other sequence (cursor
// movement, titles, modes), so that nothing of them ever shows as text. A
// sequence cut between two pieces is held back until it is complete. The
// window turns the kept sequences into colour and bold; saved and copied
// text goes without them.

#include <string>

struct TextStyle {
    bool bold = false;
    long foreground = -1;  // 0xRRGGBB, or -1 for the window's own colour
    long background = -1;
    bool operator==(const TextStyle& other) const
    {
        return bold == other.bold && foreground == other.foreground && background == other.background;
    }
    bool operator!=(const TextStyle& other) const { return !(*this == other); }
};

class ConsoleEscapeFilter {
public:
    // `text` with only complete style sequences left; an unfinished
    // sequence at its end waits for the next piece.
    std::string Filter(const std::string& text);
    // The output has ended: an unfinished sequence is dropped.
    void Reset() { held.clear(); }

private:
    std::string held;
};

constexpr char kEscape = '\x1B';

// The text without the style sequences the filter kept.
std::string WithoutStyleSequences(const std::string& filtered);

// Applies the parameters of one style sequence ("1;31", "38;5;208", "") to
// a style.
void ApplyStyleParameters(TextStyle& style, const std::string& parameters);

// Walks filtered text: each run of plain text is handed over with the
// style in force for it; `style` is the style before and after the text.
template <typename RunHandler>
void ForEachStyledRun(const std::string& filtered, TextStyle& style, RunHandler&& handle)
{
    size_t start = 0;
    while (start < filtered.size()) {
        const size_t escape = filtered.find(kEscape, start);
        if (escape != start)
            handle(filtered.substr(start, escape == std::string::npos ? std::string::npos : escape - start), style);
        if (escape == std::string::npos)
            return;
        const size_t end = filtered.find('m', escape);
        if (end == std::string::npos)
            return;
        ApplyStyleParameters(style, filtered.substr(escape + 2, end - escape - 2));
        start = end + 1;
    }
}

#include "exec/ConsoleLineDiscipline.h"

#include <algorithm>

namespace {

// NUL bytes would cut the text short where it meets the control's
// NUL-terminated interface; a console shows nothing for them.
void AppendWithoutNul(std::string& target, const std::string& text)
{
    target.reserve(target.size() + text.size());
    std::copy_if(text.begin(), text.end(), std::back_inserter(target), [](char c) { return c != '\0'; });
}

}  // namespace

void ConsoleLineDiscipline::Hold(const std::string& text) { AppendWithoutNul(pendingText, text); }

std::vector<ConsoleWrite> ConsoleLineDiscipline::Take(const std::string& text)
{
    std::string work;
    if (carriageReturnPending)
        work.push_back('\r');
    carriageReturnPending = false;
    work += pendingText;
    pendingText.clear();
    AppendWithoutNul(work, text);

    std::vector<ConsoleWrite> writes;
    std::string segment;
    auto writeSegment = [&]() {
        if (segment.empty())
            return;
        writes.push_back({ segment, overwriteLine });
        segment.clear();
        // Once the line is replaced, the caret stands after the new text:
        // what follows continues the line, even when the pipe cut an update
        // in two.
        overwriteLine = false;
    };

    for (size_t i = 0; i < work.size(); ++i) {
        const char c = work[i];
        if (c != '\r') {
            segment.push_back(c);  // a lone line feed included
            continue;
        }
        if (i + 1 == work.size()) {
            // Only the next piece can tell what this carriage return is; the
            // text before it is shown now.
            writeSegment();
            carriageReturnPending = true;
            break;
        }
        if (work[i + 1] != '\n') {
            writeSegment();
            overwriteLine = true;
            continue;
        }
        ++i;  // the line feed of the pair
        segment += "\r\n";
        // The last update of a progress line ends it: it replaces the line
        // it updates. Without new text, the line end keeps what the line
        // shows and is appended with whatever follows.
        if (overwriteLine && segment.size() > 2)
            writeSegment();
        overwriteLine = false;
    }
    writeSegment();
    return writes;
}

void ConsoleLineDiscipline::SettleCarriageReturn()
{
    // Held text still follows the carriage return and decides it when it
    // is written.
    if (!carriageReturnPending || !pendingText.empty())
        return;
    carriageReturnPending = false;
    overwriteLine = true;
}

void ConsoleLineDiscipline::Discard()
{
    pendingText.clear();
    overwriteLine = false;
    carriageReturnPending = false;
}

ConsoleLineDiscipline& ConsoleLines()
{
    static ConsoleLineDiscipline lines;
    return lines;
}

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

// Every write into the control costs a selection and an insertion, so the
// writes of one piece become one: a replacing write takes the last line,
// which starts after the last line end written before it.
std::vector<ConsoleWrite> MergedWrites(const std::vector<ConsoleWrite>& writes)
{
    std::vector<ConsoleWrite> merged;
    for (const ConsoleWrite& write : writes) {
        if (merged.empty()) {
            merged.push_back(write);
            continue;
        }
        ConsoleWrite& last = merged.back();
        if (!write.replaceCaretLine) {
            last.text += write.text;
            continue;
        }
        const size_t lineEnd = last.text.find_last_of('\n');
        if (lineEnd == std::string::npos) {
            last = write;  // the whole of it was on the line now replaced
        } else {
            last.text.erase(lineEnd + 1);
            last.text += write.text;
        }
    }
    return merged;
}

std::vector<ConsoleWrite> ConsoleLineDiscipline::Take(const std::string& text)
{
    std::string work;
    if (carriageReturnPending)
        work.push_back('\r');
    carriageReturnPending = false;
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
    return MergedWrites(writes);
}

void ConsoleLineDiscipline::BreakForView(std::vector<ConsoleWrite>& writes)
{
    for (ConsoleWrite& write : writes)
        BreakOverlongLines(write);
}

void ConsoleLineDiscipline::BreakOverlongLines(ConsoleWrite& write)
{
    if (write.replaceCaretLine)
        column = 0;
    const std::string& text = write.text;
    if (column + text.size() <= kMaxShownLineLength && text.find('\n') == std::string::npos) {
        column += text.size();
        return;
    }
    std::string broken;
    broken.reserve(text.size() + text.size() / kMaxShownLineLength * 2 + 2);
    for (char c : text) {
        if (c == '\n') {
            column = 0;
        } else if (c != '\r') {
            // Never inside a UTF-8 character: a continuation byte stays with
            // the bytes before it.
            const bool continuation = (static_cast<unsigned char>(c) & 0xC0) == 0x80;
            if (column >= kMaxShownLineLength && !continuation) {
                broken += "\r\n";
                column = 0;
            }
            ++column;
        }
        broken.push_back(c);
    }
    write.text.swap(broken);
}

void ConsoleLineDiscipline::SettleCarriageReturn()
{
    if (!carriageReturnPending)
        return;
    carriageReturnPending = false;
    overwriteLine = true;
}

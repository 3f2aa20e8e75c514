#include "exec/ConsoleTranscript.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr size_t kReadPiece = 1024 * 1024;

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Line ends as a text file on Windows has them; a carriage return is only
// ever left before its line feed by the line discipline. `previous` is the
// byte before `text`.
std::string WithCrLf(const std::string& text, char previous)
{
    std::string out;
    out.reserve(text.size() + text.size() / 32);
    for (char c : text) {
        if (c == '\n' && previous != '\r')
            out.push_back('\r');
        out.push_back(c);
        previous = c;
    }
    return out;
}

}  // namespace

ConsoleTranscript::ConsoleTranscript(SpillFileMaker maker, size_t limit)
    : makeSpillFile(std::move(maker)), memoryLimit(limit)
{
}

ConsoleTranscript::~ConsoleTranscript()
{
    if (spill != nullptr) {
        std::fclose(spill);
        std::remove(spillPath.c_str());
    }
}

void ConsoleTranscript::Apply(const ConsoleWrite& write)
{
    if (write.replaceCaretLine)
        lastLine.clear();
    lastLine += write.text;
    KeepFinishedLines();
}

void ConsoleTranscript::KeepFinishedLines()
{
    const size_t lineEnd = lastLine.rfind('\n');
    if (lineEnd == std::string::npos)
        return;
    finished.append(lastLine, 0, lineEnd + 1);
    lastLine.erase(0, lineEnd + 1);
    if (finished.size() < memoryLimit || spillFailed)
        return;
    if (spill == nullptr && makeSpillFile)
        spill = makeSpillFile(spillPath);
    if (spill == nullptr || std::fwrite(finished.data(), 1, finished.size(), spill) != finished.size()) {
        // Kept in memory rather than lost.
        spillFailed = true;
        return;
    }
    spilled += finished.size();
    finished.clear();
}

void ConsoleTranscript::EraseLastCharacter()
{
    while (!lastLine.empty() && IsContinuationByte(lastLine.back()))
        lastLine.pop_back();
    if (!lastLine.empty())
        lastLine.pop_back();
}

bool ConsoleTranscript::WriteTo(const std::function<bool(const char*, size_t)>& sink) const
{
    char previous = '\0';
    auto hand = [&](const std::string& text) {
        if (text.empty())
            return true;
        const std::string crlf = WithCrLf(text, previous);
        previous = text.back();
        return sink(crlf.data(), crlf.size());
    };
    if (spilled > 0) {
        if (std::fflush(spill) != 0 || std::fseek(spill, 0, SEEK_SET) != 0)
            return false;
        std::vector<char> buffer(kReadPiece);
        size_t total = 0;
        while (total < spilled) {
            const size_t got = std::fread(buffer.data(), 1, std::min(buffer.size(), spilled - total), spill);
            if (got == 0)
                break;
            total += got;
            if (!hand(std::string(buffer.data(), got)))
                return false;
        }
        std::fseek(spill, 0, SEEK_END);  // the next lines go after the rest
        if (total != spilled)
            return false;
    }
    return hand(finished) && hand(lastLine);
}

std::string ConsoleTranscript::Text() const
{
    std::string text;
    WriteTo([&](const char* data, size_t size) {
        text.append(data, size);
        return true;
    });
    return text;
}

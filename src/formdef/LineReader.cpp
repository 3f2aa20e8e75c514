#include "formdef/LineReader.h"

#include <utility>

#include "common/TextFormat.h"

namespace {
void DropCarriageReturn(std::string& line)
{
    if (!line.empty() && line.back() == '\r') line.pop_back();
}
}  // namespace

LineReader::LineReader(std::string sourceText) : text(std::move(sourceText)) {}

bool LineReader::ReadLine(std::string& line)
{
    if (position >= text.size()) return false;
    size_t lineFeed = text.find('\n', position);
    if (lineFeed == std::string::npos) {
        // The last line has no line end, so there is no CR to drop either.
        line.assign(text, position, std::string::npos);
        position = text.size();
    } else {
        line.assign(text, position, lineFeed - position);
        position = lineFeed + 1;
        DropCarriageReturn(line);
    }
    ++lineCount;
    AddToListing(line);
    return true;
}

void LineReader::AddToListing(const std::string& line)
{
    listing += FormatText("%02d: ", lineCount);
    listing += line;
    listing += "\r\n";
}

#include "formdef/LineReader.h"

#include <cstring>
#include <utility>

namespace {
const size_t kFileChunk = 64 * 1024;

void DropCarriageReturn(std::string& line)
{
    if (!line.empty() && line.back() == '\r') line.pop_back();
}
}  // namespace

LineReader::LineReader(FILE* sourceFile) : file(sourceFile) {}

LineReader::LineReader(std::string sourceText) : text(std::move(sourceText)) {}

bool LineReader::ReadLine(std::string& line)
{
    bool read = file ? ReadFileLine(line) : ReadTextLine(line);
    if (!read) return false;
    ++lineCount;
    AddToListing(line);
    return true;
}

bool LineReader::ReadTextLine(std::string& line)
{
    if (position >= text.size()) return false;
    size_t lineFeed = text.find('\n', position);
    if (lineFeed == std::string::npos) {
        // The last line has no line end, so there is no CR to drop either.
        line.assign(text, position, std::string::npos);
        position = text.size();
        return true;
    }
    line.assign(text, position, lineFeed - position);
    position = lineFeed + 1;
    DropCarriageReturn(line);
    return true;
}

// Reads in chunks and searches them with memchr: a line may be any length
// and may hold NUL bytes, and a long file costs one pass.
bool LineReader::ReadFileLine(std::string& line)
{
    line.clear();
    bool haveText = false;
    for (;;) {
        if (m_bufferStart < m_bufferEnd) {
            const char* begin = m_buffer.data() + m_bufferStart;
            size_t available = m_bufferEnd - m_bufferStart;
            const char* lineFeed = static_cast<const char*>(memchr(begin, '\n', available));
            if (lineFeed) {
                size_t length = static_cast<size_t>(lineFeed - begin);
                line.append(begin, length);
                m_bufferStart += length + 1;
                DropCarriageReturn(line);
                return true;
            }
            line.append(begin, available);
            m_bufferStart = m_bufferEnd;
            haveText = true;
        }
        if (m_fileEnded) return haveText;
        if (m_buffer.empty()) m_buffer.resize(kFileChunk);
        size_t got = fread(m_buffer.data(), 1, m_buffer.size(), file);
        m_bufferStart = 0;
        m_bufferEnd = got;
        // A short read of a file means end of file or a read error; either
        // way nothing more will come.
        if (got < m_buffer.size()) m_fileEnded = true;
    }
}

void LineReader::AddToListing(const std::string& line)
{
    char number[16];
    snprintf(number, sizeof number, "%02d: ", lineCount);
    listing += number;
    listing += line;
    listing += "\r\n";
}

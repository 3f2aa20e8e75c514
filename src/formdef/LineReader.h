#pragma once
// The parser's line source: either an open file or a text in memory. Both
// split at LF and drop one CR right before it, so a file reads the same on
// every platform. Every line handed out is also kept, numbered, in
// `listing`, which an error report shows to the user.

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

class LineReader {
public:
    // File mode: reads from an open file (opened in binary); not owned.
    explicit LineReader(FILE* file);
    // Text mode: reads from a copy of the text.
    explicit LineReader(std::string text);
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // The next line without its line end; false at the end of the input.
    bool ReadLine(std::string& line);

    FILE* file = nullptr;
    std::string text;
    // Text mode: index of the next unread character. Wider than the line
    // counter so that a text over 2 GiB cannot wrap it.
    size_t position = 0;
    int lineCount = 0;
    std::string listing;  // "%02d: <line>\r\n" for every line handed out

private:
    bool ReadFileLine(std::string& line);
    bool ReadTextLine(std::string& line);
    void AddToListing(const std::string& line);

    std::vector<char> m_buffer;  // file mode: bytes read but not yet handed out
    size_t m_bufferStart = 0;
    size_t m_bufferEnd = 0;
    bool m_fileEnded = false;
};

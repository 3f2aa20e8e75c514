#pragma once
// The parser's line source: a text in memory (a form file's decoded text,
// see ReadFormFile, or a batch script's output). It splits at LF and drops
// one CR right before it. Every line handed out is also kept, numbered, in
// `listing`, which an error report shows to the user.

#include <cstddef>
#include <string>

class LineReader {
public:
    // Reads from a copy of the text.
    explicit LineReader(std::string text);
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // The next line without its line end; false at the end of the input.
    bool ReadLine(std::string& line);

    std::string text;
    // Index of the next unread character. Wider than the line counter so
    // that a text over 2 GiB cannot wrap it.
    size_t position = 0;
    int lineCount = 0;
    std::string listing;  // "%02d: <line>\r\n" for every line handed out

private:
    void AddToListing(const std::string& line);
};

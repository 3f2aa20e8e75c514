#pragma once
// The whole of a console's output, kept beside what the window shows, as
// plain string logic: every line as the program wrote it (long lines whole,
// a line updated by carriage returns as it ended up), in UTF-8, including
// what the window removed to stay within its limit. Saving and copying take
// it from here.
//
// Finished lines are kept in memory up to a size, then moved to a spill
// file of our own, which goes when the transcript goes.

#include <cstdio>
#include <functional>
#include <string>

#include "exec/ConsoleLineDiscipline.h"

class ConsoleTranscript {
public:
    // Opens a new, empty file for writing and reading and names it; null
    // when none could be made (everything then stays in memory).
    using SpillFileMaker = std::function<std::FILE*(std::string& path)>;

    explicit ConsoleTranscript(SpillFileMaker makeSpillFile = nullptr, size_t memoryLimit = 4 * 1024 * 1024);
    ~ConsoleTranscript();
    ConsoleTranscript(const ConsoleTranscript&) = delete;
    ConsoleTranscript& operator=(const ConsoleTranscript&) = delete;

    // A write of the line discipline (style sequences already removed).
    void Apply(const ConsoleWrite& write);
    // Removes the last character of the unfinished last line, if any.
    void EraseLastCharacter();

    // Hands the whole text over in pieces, every line ending in CR LF;
    // false when a piece was refused or the spill file could not be read.
    bool WriteTo(const std::function<bool(const char*, size_t)>& sink) const;
    std::string Text() const;
    // Bytes of text (line ends as written).
    size_t Size() const { return spilled + finished.size() + lastLine.size(); }
    bool Spilled() const { return spill != nullptr; }
    const std::string& SpillPath() const { return spillPath; }

private:
    void KeepFinishedLines();

    SpillFileMaker makeSpillFile;
    size_t memoryLimit;
    std::FILE* spill = nullptr;
    std::string spillPath;
    bool spillFailed = false;
    size_t spilled = 0;
    std::string finished;  // whole lines not yet spilled
    std::string lastLine;  // the line still being written
};

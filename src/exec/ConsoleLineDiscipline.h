#pragma once
// The console's carriage-return line discipline, as plain string logic.
//
// Pieces of output (as the pipe happened to cut them) go in; writes come
// out, each either appended at the end of the text or replacing the line
// that holds the caret. The display must not depend on where the pipe cut
// the output, so a carriage return at the very end of a piece is decided
// by the first byte of the next piece: a line feed makes it a line end,
// anything else a bare carriage return (the next text replaces the line).

#include <string>
#include <vector>

// A line longer than this many bytes is shown continued on the next line:
// the control re-measures a whole line at every insertion and every paint,
// so without a bound one endless line would make every append slower than
// the last (the transcript keeps lines whole).
constexpr size_t kMaxShownLineLength = 1024;

struct ConsoleWrite {
    std::string text;
    // True: the text replaces the caret's line, from its first character to
    // the end of the text. False: the text is appended at the end.
    bool replaceCaretLine = false;
};

class ConsoleLineDiscipline {
public:
    // `text` turned into writes in order, lines whole however long.
    std::vector<ConsoleWrite> Take(const std::string& text);

    // Breaks lines longer than kMaxShownLineLength for the window (the
    // column carries over from one call to the next).
    void BreakForView(std::vector<ConsoleWrite>& writes);
    // What is shown starts afresh at the beginning of a line.
    void RestartViewColumn() { column = 0; }

    // The output has ended: no line feed can follow a carriage return that
    // is still waiting for its decision, so it was a bare one.
    void SettleCarriageReturn();

    bool OverwriteLine() const { return overwriteLine; }
    bool CarriageReturnPending() const { return carriageReturnPending; }

private:
    // Set by a bare carriage return: the next text replaces the caret's line.
    bool overwriteLine = false;
    // The last piece ended in a carriage return whose meaning is not known yet.
    bool carriageReturnPending = false;
    // Bytes on the last shown line so far.
    size_t column = 0;

    void BreakOverlongLines(ConsoleWrite& write);
};

// Writes made one: a later replacing write takes the last line of what
// came before it.
std::vector<ConsoleWrite> MergedWrites(const std::vector<ConsoleWrite>& writes);

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
// the control re-measures a whole line at every insertion, so without a
// bound one endless line would make every append slower than the last.
constexpr size_t kMaxShownLineLength = 8192;

struct ConsoleWrite {
    std::string text;
    // True: the text replaces the caret's line, from its first character to
    // the end of the text. False: the text is appended at the end.
    bool replaceCaretLine = false;
};

class ConsoleLineDiscipline {
public:
    // Output that arrives while the user has text selected waits here, so
    // that the selection is not overwritten.
    void Hold(const std::string& text);

    // Held text followed by `text`, turned into writes in order.
    std::vector<ConsoleWrite> Take(const std::string& text);

    // The output has ended: no line feed can follow a carriage return that
    // is still waiting for its decision, so it was a bare one.
    void SettleCarriageReturn();

    // A console window has closed: nothing of its output may reach the next.
    void Discard();

    const std::string& PendingText() const { return pendingText; }
    bool OverwriteLine() const { return overwriteLine; }
    bool CarriageReturnPending() const { return carriageReturnPending; }

private:
    std::string pendingText;
    // Set by a bare carriage return: the next text replaces the caret's line.
    bool overwriteLine = false;
    // The last piece ended in a carriage return whose meaning is not known yet.
    bool carriageReturnPending = false;
    // Bytes on the last shown line so far.
    size_t column = 0;

    void BreakOverlongLines(ConsoleWrite& write);
};

// The discipline shared by every console window of the program.
ConsoleLineDiscipline& ConsoleLines();

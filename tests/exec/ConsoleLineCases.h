#pragma once
// Output as a child writes it and what a console shows for it. Shared by
// the windowless tests of the line discipline and the tests through the
// real rich-edit control.

#include <string>
#include <vector>

struct ConsoleLineCase {
    const char* name;
    std::vector<std::string> pieces;  // as the pipe delivered them
    bool endsWithExitBanner;          // the run ends after the pieces
    std::string shown;                // the display, lines ended by '\n'
};

inline const char* ExitBannerCodeZero() { return "\r\n\r\n***** Process exited with code 0 *****\r\n"; }

inline std::vector<ConsoleLineCase> ConsoleLineCases()
{
    return {
        { "LineEndAfterReplacedLine", { "A\rB\r\nC" }, false, "B\nC" },
        { "ProgressEndingWithLineEnd", { "\r10%", "\r20%", "\r100%\r\n", "done\r\n" }, false, "100%\ndone\n" },
        { "ProgressThenExitBanner", { "P1\rP2\r" }, true, "P2\n\n***** Process exited with code 0 *****\n" },
        { "LineEndSplitAcrossPieces", { "one\r", "\ntwo\r\n" }, false, "one\ntwo\n" },
        { "EmptyLineEndKeepsLine", { "A\r\r\nB" }, false, "A\nB" },
        { "LoneLineFeed", { "x\n", "y" }, false, "x\ny" },
        { "ProgressBelowEarlierLines", { "header\r\n", "\rcopy 1/3", "\rcopy 2/3", "\rcopy 3/3\r\n", "ok" }, false,
          "header\ncopy 3/3\nok" },
        { "BareCarriageReturnEndingPiece", { "abc\r", "xy" }, false, "xy" },
        { "ProgressWithoutFinalLineEnd", { "P1\rP2\r" }, false, "P2" },
        { "OrdinaryLines", { "first\r\nsecond\r\n", "third\r\n" }, false, "first\nsecond\nthird\n" },
    };
}

// Every way of delivering a case's output: its own pieces, all of it in one
// piece, and every cut into two pieces.
inline std::vector<std::vector<std::string>> DeliveriesOf(const ConsoleLineCase& lineCase)
{
    std::string whole;
    for (const std::string& piece : lineCase.pieces)
        whole += piece;
    std::vector<std::vector<std::string>> deliveries = { lineCase.pieces, { whole } };
    for (size_t cut = 1; cut < whole.size(); ++cut)
        deliveries.push_back({ whole.substr(0, cut), whole.substr(cut) });
    return deliveries;
}

inline std::string DescribeDelivery(const std::vector<std::string>& pieces)
{
    std::string text;
    for (const std::string& piece : pieces) {
        text += "[";
        for (char c : piece)
            text += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
        text += "]";
    }
    return text;
}

#pragma once
// The example form of the file format: every kind of control line, blank
// line and radio group included. Several test programs parse or run it.

#include <string>
#include <vector>

// Lines 3 to 15 of the example (after the command and the description).
inline const std::vector<std::string>& WorkedExampleControlLines()
{
    static const std::vector<std::string> lines = {
        "{{required file}} Input file",
        "-o {{required newfile}} Output archive",
        "",
        "-v Verbose output",
        "{{radiostart required}}",
        "--fast Fast",
        "--best Best compression",
        "--level {{number}} Custom level",
        "{{radioend}}",
        "\"\" {{text}} Extra arguments",
        "{{drive}} -d Target drive",
        "'/mode quick' Quick mode",
        "{{button --list}} List contents",
    };
    return lines;
}

#pragma once
// Turns the form's values into command-line text. Windowless: the caller
// reads the values (from the control windows in the program, from a table in
// tests) and this unit only decides how they are written.

#include <functional>
#include <string>
#include <vector>

class CControlDef;

// Who splits the line that is built into arguments.
enum class ArgumentRules {
    // A program started directly. It splits its command line by the rules
    // of the C runtime (CommandLineToArgvW agrees): blanks separate
    // arguments outside double quotes, and backslashes escape a double
    // quote, but only when they stand right before one.
    ProgramArguments,
    // A batch script started through "cmd /c". cmd splits its parameters
    // at blanks, commas, semicolons and equals signs outside double quotes,
    // reads & | < > ^ outside quotes as its own operators and never treats
    // a backslash as an escape.
    BatchParameters,
};

// One value as it is written on the command line. A path value is always
// quoted and any other value when it holds a space or a tab; besides, the text is
// written so that the receiver gets the value back byte for byte as one
// argument:
//  - ProgramArguments: backslashes before a double quote or before the
//    closing quote are doubled and a double quote becomes \"; a value
//    without either comes out unchanged.
//  - BatchParameters: a value holding a double quote or one of cmd's
//    separators and operators is quoted too, and a double quote inside the
//    quotes is doubled (cmd has no other escape there; a script reading
//    %~1 then sees it doubled, but the value stays one parameter and can
//    never end the command).
std::string FormatValueArgument(const std::string& value, bool pathType, ArgumentRules rules);

// Reads the current value of one control definition.
using ControlValueReader = std::function<std::string(const CControlDef&)>;

// Builds the line from the command (when `withCommand`) and the controls'
// values in file order (ascending m_nIndex; the given list is not
// reordered). A control with an empty value adds nothing, not even its
// flag; a value equal to its flag is written alone and unquoted; otherwise
// the flag (if any), a space and the formatted value. The full line goes to
// a program (ProgramArguments); the argument list alone is what a form's
// embedded batch script receives (BatchParameters). Writes the builder's
// diagnostic lines.
std::string AssembleCommandLine(const std::string& command, const std::vector<const CControlDef*>& controls,
                                const ControlValueReader& readValue, bool withCommand);

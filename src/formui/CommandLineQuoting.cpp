#include "formui/CommandLineQuoting.h"

#include <algorithm>

#include "common/Diag.h"
#include "formdef/ControlDef.h"

namespace {

// A tab separates arguments just as a space does, for both receivers.
bool HasBlank(const std::string& text) { return text.find_first_of(" \t") != std::string::npos; }

// Backslashes mean something to the C runtime only in front of a double
// quote: then each one stands for half of itself, and an odd one makes the
// quote literal. `quoted` says whether a closing quote follows the text.
std::string EscapeForProgram(const std::string& value, bool quoted)
{
    std::string out;
    out.reserve(value.size() + 8);
    size_t backslashes = 0;
    for (char c : value) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        if (c == '"') {
            out.append(backslashes * 2 + 1, '\\');
            out.push_back('"');
        } else {
            out.append(backslashes, '\\');
            out.push_back(c);
        }
        backslashes = 0;
    }
    out.append(quoted ? backslashes * 2 : backslashes, '\\');
    return out;
}

std::string FormatForProgram(const std::string& value, bool pathType)
{
    bool quoted = pathType || HasBlank(value);
    std::string escaped = EscapeForProgram(value, quoted);
    return quoted ? "\"" + escaped + "\"" : escaped;
}

// Characters that, outside double quotes, make cmd split a parameter or
// read the rest of the line as another command.
bool NeedsQuotesForBatch(const std::string& value)
{
    return value.find_first_of(" \t\",;=&|<>^") != std::string::npos;
}

std::string FormatForBatch(const std::string& value, bool pathType)
{
    if (!pathType && !NeedsQuotesForBatch(value))
        return value;
    std::string out = "\"";
    for (char c : value) {
        if (c == '"')
            out.push_back('"');  // "" closes and reopens the quotes: still one parameter
        out.push_back(c);
    }
    out.push_back('"');
    return out;
}

}  // namespace

std::string FormatValueArgument(const std::string& value, bool pathType, ArgumentRules rules)
{
    if (rules == ArgumentRules::BatchParameters)
        return FormatForBatch(value, pathType);
    return FormatForProgram(value, pathType);
}

std::string AssembleCommandLine(const std::string& command, const std::vector<const CControlDef*>& controls,
                                const ControlValueReader& readValue, bool withCommand)
{
    Diag("\n=== BuildCommandLine ===\n");
    std::string result = withCommand ? command : std::string();
    ArgumentRules rules = withCommand ? ArgumentRules::ProgramArguments : ArgumentRules::BatchParameters;

    // File order; the caller's list (the form model's) stays as it is.
    std::vector<const CControlDef*> ordered;
    for (const CControlDef* control : controls) {
        if (control != nullptr)
            ordered.push_back(control);
    }
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const CControlDef* a, const CControlDef* b) { return a->m_nIndex < b->m_nIndex; });

    for (const CControlDef* control : ordered) {
        std::string value = readValue(*control);
        if (value.empty())
            continue;
        if (!result.empty())
            result += ' ';
        if (value == control->m_strFlag) {
            result += value;
            Diag("  Added flag: %s\n", value.c_str());
            continue;
        }
        if (!control->m_strFlag.empty())
            result += control->m_strFlag + ' ';
        result += FormatValueArgument(value, control->IsPathType(), rules);
        Diag("  Added: %s %s\n", control->m_strFlag.c_str(), value.c_str());
    }

    if (withCommand)
        Diag("Final command: %s\n", result.c_str());
    else
        Diag("Argument list: %s\n", result.c_str());
    return result;
}

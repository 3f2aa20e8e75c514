#include "ArgvSplitter.h"

std::vector<std::string> SplitProgramArguments(const std::string& arguments)
{
    std::vector<std::string> result;
    size_t i = 0;
    const size_t n = arguments.size();
    while (true) {
        while (i < n && (arguments[i] == ' ' || arguments[i] == '\t'))
            ++i;
        if (i >= n)
            return result;
        std::string current;
        bool inQuotes = false;
        while (i < n && (inQuotes || (arguments[i] != ' ' && arguments[i] != '\t'))) {
            if (arguments[i] == '\\') {
                size_t backslashes = 0;
                while (i < n && arguments[i] == '\\') {
                    ++backslashes;
                    ++i;
                }
                if (i < n && arguments[i] == '"') {
                    current.append(backslashes / 2, '\\');
                    if (backslashes % 2 == 1) {
                        current.push_back('"');
                        ++i;
                    }
                    // An even run leaves the quote to toggle below.
                } else {
                    current.append(backslashes, '\\');
                }
                continue;
            }
            if (arguments[i] == '"') {
                if (inQuotes && i + 1 < n && arguments[i + 1] == '"') {
                    current.push_back('"');
                    i += 2;
                    continue;
                }
                inQuotes = !inQuotes;
                ++i;
                continue;
            }
            current.push_back(arguments[i]);
            ++i;
        }
        result.push_back(current);
    }
}

namespace {
bool IsBatchDelimiter(char c) { return c == ' ' || c == '\t' || c == ',' || c == ';' || c == '='; }
}  // namespace

std::vector<std::string> SplitBatchParameters(const std::string& arguments)
{
    std::vector<std::string> result;
    std::string current;
    bool inQuotes = false;
    bool started = false;
    for (char c : arguments) {
        if (!inQuotes && IsBatchDelimiter(c)) {
            if (started)
                result.push_back(current);
            current.clear();
            started = false;
            continue;
        }
        if (c == '"')
            inQuotes = !inQuotes;
        current.push_back(c);
        started = true;
    }
    if (started)
        result.push_back(current);
    return result;
}

bool HasBatchOperatorOutsideQuotes(const std::string& arguments)
{
    bool inQuotes = false;
    for (char c : arguments) {
        if (c == '"')
            inQuotes = !inQuotes;
        else if (!inQuotes && (c == '&' || c == '|' || c == '<' || c == '>' || c == '^'))
            return true;
    }
    return false;
}

#include "formdef/ControlAttributes.h"

#include <cctype>

#include "formdef/FormModel.h"

namespace {
const char* const kAttributeWords[] = {"default", "choices", "choices-from", "pattern", "help"};

void AddTrimmed(std::string item, std::vector<std::string>& items)
{
    CFormModel::TrimBlank(item);
    if (!item.empty())
        items.push_back(item);
}

std::vector<std::string> SplitAt(const std::string& text, char separator)
{
    std::vector<std::string> items;
    size_t start = 0;
    for (size_t at = text.find(separator); at != std::string::npos; at = text.find(separator, start)) {
        AddTrimmed(text.substr(start, at - start), items);
        start = at + 1;
    }
    AddTrimmed(text.substr(start), items);
    return items;
}
}  // namespace

bool IsAttributeKeyword(const std::string& word)
{
    for (const char* known : kAttributeWords) {
        if (word == known)
            return true;
    }
    return false;
}

std::vector<std::string> SplitChoices(const std::string& value) { return SplitAt(value, '|'); }

// CR LF and LF alike: trimming removes the CR.
std::vector<std::string> ChoiceLines(const std::string& output) { return SplitAt(output, '\n'); }

bool NormaliseDriveLetter(const std::string& value, std::string& drive)
{
    if (value.empty() || value.size() > 3 || !isalpha(static_cast<unsigned char>(value[0])))
        return false;
    if (value.size() >= 2 && value[1] != ':')
        return false;
    if (value.size() == 3 && value[2] != '\\')
        return false;
    drive = std::string(1, static_cast<char>(toupper(static_cast<unsigned char>(value[0])))) + ":";
    return true;
}

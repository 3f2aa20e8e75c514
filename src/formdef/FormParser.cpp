// The form definition parser: line 1 is the command, line 2 the
// description, every further non-blank line one control, until a
// {{batch cmd}} line turns the rest of the input into a script.

#include <string>
#include <utility>

#include "common/Diag.h"
#include "formdef/FormFile.h"
#include "formdef/FormKeywords.h"
#include "formdef/FormModel.h"
#include "formdef/FormSizeLimit.h"
#include "formdef/LineReader.h"
#include "formdef/ParseErrorPresenter.h"

namespace {
const char* const kBlanks = " \t";
const char* const kBatchCmdTag = "{{batch cmd}}";
const char kNulByteMessage[] = "Line contains a NUL byte: a form definition must be a text file";
// How a NUL byte shows in the listing of lines (a NUL would end the text
// of the report window there).
const char kNulShown[] = "<NUL>";

std::string TooManyControlsMessage()
{
    return "Too many controls: more than " + std::to_string(kMaxFormWindows) + " windows needed";
}

void TrimmedTail(const std::string& text, size_t from, std::string& out)
{
    out = from < text.size() ? text.substr(from) : std::string();
    CFormModel::TrimBlank(out);
}
}  // namespace

void CFormModel::TrimBlank(std::string& text)
{
    const char* const trimmed = " \t\r\n";
    size_t last = text.find_last_not_of(trimmed);
    if (last == std::string::npos) {
        text.clear();
        return;
    }
    text.erase(last + 1);
    text.erase(0, text.find_first_not_of(trimmed));
}

bool CFormModel::ParseFile(const std::string& path)
{
    Clear();
    std::string text;
    if (!ReadFormFile(path, text)) {
        std::string message = "Failed to open file: " + path;
        Diag("##ERROR##\t%s\n", message.c_str());
        if (ParseErrorPresenter* presenter = GetParseErrorPresenter()) presenter->ShowOpenFailure(message);
        return false;
    }
    LineReader reader(std::move(text));
    return ParseLines(reader);
}

// A NUL byte would cut its line short and the rest would silently run as
// something else: such a file is not a text file, and says where.
bool CFormModel::ReportNulByte(LineReader& reader)
{
    size_t nul = reader.text.find('\0', reader.position);
    if (nul == std::string::npos) return false;
    int line = 1;
    for (size_t at = reader.position; at < nul; ++at)
        if (reader.text[at] == '\n') ++line;
    std::string skipped;
    while (m_nLine < line && reader.ReadLine(skipped)) ++m_nLine;
    for (size_t at = reader.listing.find('\0'); at != std::string::npos; at = reader.listing.find('\0', at))
        reader.listing.replace(at, 1, kNulShown);
    ReportError(line, kNulByteMessage, &reader);
    return true;
}

bool CFormModel::ParseLines(LineReader& reader)
{
    m_nLine = 0;
    std::string line;

    if (ReportNulByte(reader)) return false;
    if (!reader.ReadLine(line)) {
        ReportError(0, "File is empty", &reader);
        return false;
    }
    ++m_nLine;
    TrimBlank(line);
    m_strCommand = line;
    Diag("Command: %s\n", m_strCommand.c_str());

    if (!reader.ReadLine(line)) {
        ReportError(m_nLine, "Missing description line", &reader);
        return false;
    }
    ++m_nLine;
    TrimBlank(line);
    m_strDescription = line;
    Diag("Description: %s\n", m_strDescription.c_str());

    while (reader.ReadLine(line)) {
        ++m_nLine;
        TrimBlank(line);
        if (line.empty()) continue;
        if (line.find(kBatchCmdTag) != std::string::npos) {
            Diag("{{batch cmd}} tag detected - reading remainder as script\n");
            m_bBatchCmd = 1;
            if (m_pListener) m_pListener->OnBatchCmd(m_nLine);
            while (reader.ReadLine(line)) {
                m_strBatchScript += line;
                m_strBatchScript += "\r\n";
                ++m_nLine;
            }
            break;
        }
        if (!ParseControlLine(line, m_nLine, &reader)) return false;
    }

    Diag("Parsed %d controls\n", static_cast<int>(m_controls.size()));
    return true;
}

bool CFormModel::ParseTag(const std::string& text, std::string& keyword, std::string& argument,
                          std::string& remainder, LineReader* reader)
{
    if (text.size() < 4 || text.compare(0, 2, "{{") != 0) return false;
    size_t close = text.find("}}", 2);
    if (close == std::string::npos) {
        ReportError(m_nLine, "Possible unclosed tag (missing }})", reader);
        return false;
    }
    std::string body = text.substr(2, close - 2);
    TrimBlank(body);

    // "button" needs no blank before its argument: {{buttonX}} is a button
    // without a flag; the character after "button" is always skipped.
    if (body.size() >= 6 && body.compare(0, 6, "button") == 0) {
        keyword = "button";
        TrimmedTail(body, 7, argument);
    } else {
        SplitKeyword(body, keyword, argument);
    }

    if (!keyword.empty() && !IsTagKeyword(keyword)) {
        ReportError(m_nLine, "Unrecognized keyword '" + keyword + "'", reader);
        return false;
    }
    remainder = text.substr(close + 2);
    return true;
}

void CFormModel::SplitKeyword(const std::string& body, std::string& keyword, std::string& argument)
{
    std::string trimmed = body;
    TrimBlank(trimmed);
    size_t blank = trimmed.find_first_of(kBlanks);
    if (blank == std::string::npos) {
        keyword = trimmed;
        argument.clear();
        return;
    }
    keyword = trimmed.substr(0, blank);
    TrimmedTail(trimmed, blank + 1, argument);
}

bool CFormModel::SplitFlag(const std::string& text, std::string& flag, std::string& remainder)
{
    if (text.empty()) return false;
    if (text.size() >= 2 && (text[0] == '\'' || text[0] == '"')) {
        size_t closing = text.find(text[0], 1);
        if (closing != std::string::npos) {
            flag = text.substr(1, closing - 1);
            TrimmedTail(text, closing + 1, remainder);
            return true;
        }
        // No closing quote: the opening one stays part of a plain flag.
    }
    size_t blank = text.find_first_of(kBlanks);
    if (blank == std::string::npos) {
        flag = text;
        remainder.clear();
    } else {
        flag = text.substr(0, blank);
        remainder = text.substr(blank + 1);
    }
    return true;
}

bool CFormModel::ParseControlLine(const std::string& line, int lineNumber, LineReader* reader)
{
    Diag("Line %d: %s\n", lineNumber, line.c_str());
    std::string rest = line;
    std::string keyword, argument, tagRemainder;

    if (ParseAttributeLine(line, lineNumber, reader))
        return true;
    if (ParseTag(line, keyword, argument, tagRemainder, reader)) {
        if (keyword == "radiostart" || (keyword == "required" && argument == "radiostart")) {
            m_bRadioGroupRequired = (keyword == "required" || argument == "required") ? 1 : 0;
            Diag("  -> Radio group start (required=%d)\n", m_bRadioGroupRequired);
            m_bInRadioGroup = 1;
            ++m_nRadioGroup;
            m_pAttributeTarget = nullptr;
            if (m_pListener) m_pListener->OnRadioStart(lineNumber);
            return true;
        }
        if (keyword == "radioend") {
            Diag("  -> Radio group end\n");
            if (m_pListener) m_pListener->OnRadioEnd(lineNumber, m_bInRadioGroup != 0);
            m_bInRadioGroup = 0;
            m_bRadioGroupRequired = 0;
            m_pAttributeTarget = nullptr;
            return true;
        }
        if (keyword == "button") Diag("  -> Action button\n");
    }

    auto control = std::make_unique<CControlDef>();
    control->m_nIndex = m_nNextIndex++;
    control->m_nRadioGroup = -1;

    // The keyword may also come from a tag that ParseTag rejected as
    // unknown; such a line is then read as though it had no tag.
    bool isButton = false;
    if (keyword == "required") {
        control->m_bRequired = 1;
        Diag("  -> Required field\n");
        if (argument.empty()) {
            ReportError(lineNumber, "{{required}} tag missing type (e.g., {{required text}})", reader);
            return false;
        }
        control->m_strType = argument;
        Diag("  -> Type: %s\n", control->m_strType.c_str());
        TrimmedTail(tagRemainder, 0, rest);
    } else if (keyword == "button") {
        Diag("  -> Button control\n");
        control->m_bActionButton = 1;
        control->m_strFlag = argument;
        Diag("  -> Flag: %s\n", control->m_strFlag.c_str());
        TrimmedTail(tagRemainder, 0, rest);
        isButton = true;
    } else if (IsTypeKeyword(keyword)) {
        control->m_strType = keyword;
        Diag("  -> Standalone type: %s\n", control->m_strType.c_str());
        TrimmedTail(tagRemainder, 0, rest);
    }

    // An action button has no flag word, no second tag and no radio group;
    // a line with a leading {{required ...}} tag has neither flag nor group.
    std::string flag, flagRemainder;
    if (!isButton && !control->m_bRequired && SplitFlag(rest, flag, flagRemainder)) {
        Diag("  -> Flag: %s\n", flag.c_str());
        control->m_strFlag = flag;
        TrimmedTail(flagRemainder, 0, rest);

        if (ParseTag(rest, keyword, argument, tagRemainder, reader)) {
            if (keyword == "required") {
                control->m_bRequired = 1;
                control->m_strType = argument;
                Diag("  -> Required flag with type: %s\n", argument.c_str());
            } else {
                control->m_strType = argument.empty() ? keyword : argument;
                Diag("  -> Type: %s\n", control->m_strType.c_str());
            }
            TrimmedTail(tagRemainder, 0, rest);
        }

        if (m_bInRadioGroup) {
            // The group decides whether a member is required, not its line.
            control->m_nRadioGroup = m_nRadioGroup;
            control->m_bRequired = m_bRadioGroupRequired;
            control->m_bFirstInGroup = IsFirstMemberOfCurrentGroup() ? 1 : 0;
            Diag("  -> Radio button (group %d, first=%d)\n", control->m_nRadioGroup,
                 control->m_bFirstInGroup);
        }
    }

    control->m_strLabel = rest;
    Diag("  -> Label: %s\n", control->m_strLabel.c_str());
    // Stop before the form outgrows what a process can show: a larger form
    // would fail half-built, so it is refused before any window exists.
    m_nWindowsNeeded += control->WindowCount();
    if (m_nWindowsNeeded > kMaxFormWindows) {
        ReportError(lineNumber, TooManyControlsMessage(), reader);
        return false;
    }
    m_controls.push_back(std::move(control));
    m_pAttributeTarget = m_controls.back().get();
    m_nAttributeTargetLine = lineNumber;
    if (m_pListener) m_pListener->OnControl(*m_controls.back(), lineNumber, line);
    return true;
}

#pragma once
// A form definition in memory: the command, its description, an optional
// embedded batch script and the control definitions in file order. The
// parser fills it; the model owns its control definitions.

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "formdef/ControlDef.h"

class ChoicesCommandRunner;
class LineReader;
class BatchScriptWatch;

// Told what the parser reads, line by line, for tools that check form files
// (tavrel-lint); the form window installs none. Each call comes after the
// parser has acted on the line.
class FormParseListener {
public:
    virtual ~FormParseListener() = default;
    virtual void OnRadioStart(int line) {}
    // `groupWasOpen`: a radio group was open when the line was read.
    virtual void OnRadioEnd(int line, bool groupWasOpen) {}
    // A control definition was made from the trimmed `text` of `line`.
    virtual void OnControl(const CControlDef& control, int line, const std::string& text) {}
    virtual void OnBatchCmd(int line) {}
};

class CFormModel {
public:
    CFormModel() = default;
    virtual ~CFormModel();
    CFormModel(const CFormModel&) = delete;
    CFormModel& operator=(const CFormModel&) = delete;

    // Deletes every control definition and resets the contents and the parse
    // state; m_nLine is left alone (ParseLines resets it).
    void Clear();

    // Clears the model and parses the file, decoded from whichever encoding
    // it was saved in (ReadFormFile). True when the file was read to
    // the end, also after a non-fatal error (which has already been
    // reported); false when it did not open or a fatal error stopped it.
    bool ParseFile(const std::string& path);
    // Same for a prepared reader over decoded text; does not clear first. A
    // text holding a NUL byte is reported at that line and not parsed.
    bool ParseLines(LineReader& reader);
    // The loader for every form file: a {{batch gui}} file runs its script and
    // parses the output; any other file goes to ParseFile (Windows only).
    // `watch` looks at a running script in place of the window a slow
    // script gets (null: that window).
    bool ParseFileWithBatchSupport(const std::string& path, BatchScriptWatch* watch = nullptr);
    // One trimmed control line; false only for the fatal errors: a leading
    // "{{required}}" without a type, or a form grown past kMaxFormWindows.
    bool ParseControlLine(const std::string& line, int lineNumber, LineReader* reader);
    // True when `text` starts with a well-formed tag whose keyword is known
    // (or empty). Reports unclosed tags and unknown keywords.
    bool ParseTag(const std::string& text, std::string& keyword, std::string& argument,
                  std::string& remainder, LineReader* reader);
    static void SplitKeyword(const std::string& body, std::string& keyword, std::string& argument);
    // Splits off the flag: a quoted text or the first word. False when empty.
    static bool SplitFlag(const std::string& text, std::string& flag, std::string& remainder);
    // Removes spaces, tabs, CRs and LFs from both ends.
    static void TrimBlank(std::string& text);

    // Writes the "##ERROR##" line, shows the report through the installed
    // presenter, then asks the application to end. A line number of 0 (or
    // below) means no line applies; `reader` supplies the listing otherwise.
    void ReportError(int line, const std::string& message, LineReader* reader);

    std::string m_strCommand;
    std::string m_strDescription;
    std::string m_strBatchScript;
    std::vector<std::unique_ptr<CControlDef>> m_controls;
    int m_bBatchCmd = 0;
    int m_bInRadioGroup = 0;
    int m_bRadioGroupRequired = 0;
    int m_nRadioGroup = 0;
    int m_nNextIndex = 0;
    int m_nLine = 0;
    FormParseListener* m_pListener = nullptr;  // not owned; usually none
    // Runs {{choices-from}} commands; not owned. Without one their choices
    // stay unknown (empty).
    ChoicesCommandRunner* m_pChoicesRunner = nullptr;

private:
    bool IsFirstMemberOfCurrentGroup();
    // An attribute line ({{default}}, {{choices}}, {{choices-from}},
    // {{pattern ...}}, {{help}}): applied to the control made by the nearest
    // control line above it, or reported. False when the line is none.
    bool ParseAttributeLine(const std::string& line, int lineNumber, LineReader* reader);
    bool ApplyAttribute(CControlDef& control, const std::string& keyword, const std::string& argument,
                        const std::string& value, int lineNumber, LineReader* reader);
    bool ApplyDefault(CControlDef& control, const std::string& value, int lineNumber, LineReader* reader);
    bool ApplyChoices(CControlDef& control, const std::string& keyword, const std::string& value, int lineNumber,
                      LineReader* reader);
    // A default and a list of choices that disagree, once both are known.
    void CheckDefaultAmongChoices(const CControlDef& control, int lineNumber, LineReader* reader);
    // Reports the first NUL byte of the reader's text at its line; false
    // when there is none.
    bool ReportNulByte(LineReader& reader);

    // Number of the last radio group that received a member. Group numbers
    // only grow until the next Clear, and a member always joins the newest
    // group, so "does a definition with this group number exist already?"
    // is a single comparison instead of a scan over every definition.
    static constexpr int kNoGroupYet = INT_MIN;
    int m_nLastGroupWithMember = kNoGroupYet;
    // Windows the controls parsed so far will need (see FormSizeLimit.h).
    int m_nWindowsNeeded = 0;
    // The control that attribute lines apply to, and the line it came
    // from: the control made by the latest control line; none after a
    // radio-group line.
    CControlDef* m_pAttributeTarget = nullptr;
    int m_nAttributeTargetLine = 0;
};

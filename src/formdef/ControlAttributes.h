#pragma once
// What the attribute lines under a control line say about that control: the
// value it starts with, the list it offers instead of a free text, the
// check of what is typed, and a line of help. Windowless.

#include <string>
#include <vector>

struct ControlAttributes {
    // {{default}}: a field's text, a drive ("C:"), or "on"/"off" for a
    // checkbox, radio button or typed radio.
    std::string defaultValue;
    int defaultLine = 0;  // 0: no {{default}} line
    // {{choices}} or {{choices-from}}: the items offered, in order. Those of
    // a command are filled in when the form is loaded by a program that
    // runs it (the form window does, the checker does not).
    std::vector<std::string> choices;
    std::string choicesCommand;  // {{choices-from}}: the command, else empty
    int choicesLine = 0;         // 0: neither line
    // {{pattern MESSAGE}}: a non-empty value must match the whole pattern
    // (ECMAScript syntax); the message says what is wanted.
    std::string pattern;
    std::string patternMessage;
    int patternLine = 0;
    // {{help}}: shown as a tooltip on the control and its label.
    std::string help;
    int helpLine = 0;

    // The field is a drop-down list instead of an edit box.
    bool HasChoices() const { return choicesLine != 0; }
    bool IsDefaultOn() const { return defaultLine != 0 && defaultValue == "on"; }
};

// The five attribute tags: "default", "choices", "choices-from", "pattern",
// "help".
bool IsAttributeKeyword(const std::string& word);

// The items of a {{choices}} value: split at '|', trimmed, empty ones dropped.
std::vector<std::string> SplitChoices(const std::string& value);
// The items a {{choices-from}} command printed: its non-empty lines, trimmed.
std::vector<std::string> ChoiceLines(const std::string& output);

// "C", "c:", "C:\" and the like as "C:", the way the drive list shows a
// drive; false for anything else.
bool NormaliseDriveLetter(const std::string& value, std::string& drive);

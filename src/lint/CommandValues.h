#pragma once
// The command line Run would execute for values given as NAME=VALUE: the
// same builder and quoting as the form window, the values from the
// arguments instead of windows.

#include <string>
#include <vector>

class CFormModel;

struct BuiltCommand {
    bool ok = false;
    std::string text;   // the command line, or why it could not be built
};

// Each assignment is NAME=VALUE (a field, or a typed radio's own box) or
// NAME alone (a checkbox or radio button ticked, an action button pressed).
// NAME is a control's flag, or else its label; where several flags or labels
// fit (a flag holding '='), the longest is taken. A form with an embedded
// {{batch cmd}} script gives the command and the argument list its script
// receives, as Tavrel's preview shows them.
BuiltCommand BuildCommandFor(const CFormModel& model, const std::vector<std::string>& assignments);

// Environment references (%NAME%) replaced as the program starting a child
// replaces them; undefined ones stay as written.
std::string ExpandEnvironmentReferences(const std::string& text);

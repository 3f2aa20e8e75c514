#pragma once
// Recognises a form definition file that is really a batch script: its first
// line, trimmed, begins with the {{batch gui}} tag, and every later line is
// the script whose output is the form definition.

#include <string>

enum class BatchFormKind {
    CannotOpen,    // the file could not be opened
    OrdinaryForm,  // no tag at the very start of line 1 (or no line at all)
    BatchForm,     // the tag starts line 1; `script` holds the rest
};

// Reads the file once. For a batch form, `script` receives every line after
// line 1 exactly as read (line end removed), each followed by CR LF.
BatchFormKind ReadBatchForm(const std::string& path, std::string& script);

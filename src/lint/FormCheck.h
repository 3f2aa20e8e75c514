#pragma once
// Checks one form definition file the way Tavrel reads it: the same loader
// and parser, with the parser's errors collected instead of shown, and
// warnings for what Tavrel accepts but an author almost never means.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "formdef/FormModel.h"

enum class Severity { Error, Warning, Note };

struct Finding {
    int line = 0;  // 0: no line applies
    Severity severity = Severity::Error;
    std::string name;  // warnings: the stable name (--disable NAME)
    std::string message;
};

struct WarningKind {
    const char* name;
    const char* summary;
};
// Every warning the checker knows, in the order of the manual.
const std::vector<WarningKind>& WarningKinds();

struct CheckedForm {
    enum class Outcome {
        Parsed,     // read to the end (errors may still have been reported)
        Stopped,    // a fatal error ended the parse
        Unreadable, // the file could not be opened
        Generated,  // a {{batch gui}} form that was not run
    };
    Outcome outcome = Outcome::Parsed;
    CFormModel model;
    std::vector<int> controlLines;  // the line each control came from
    std::vector<Finding> findings;  // in line order

    bool HasErrors() const;
};

// Runs a {{batch gui}} form's script as Tavrel does and parses its output
// into the model (the Windows loader); true when it parsed.
using BatchFormRunner = std::function<bool(CFormModel& model, const std::string& path)>;

// `runBatch` null: a {{batch gui}} form is only recognised, not run.
// `disabled`: warning names to leave out.
std::unique_ptr<CheckedForm> CheckFormFile(const std::string& path, const BatchFormRunner* runBatch,
                                           const std::vector<std::string>& disabled);

#pragma once
// The command line of a form, from its model and a reader of the current
// values: the form window reads them from its controls, tavrel-lint from its
// NAME=VALUE arguments. Windowless.

#include <string>

#include "formui/CommandLineQuoting.h"

class CFormModel;

// The full command line (`withCommand`) or the argument list alone, built
// from every control of the form in file order.
std::string BuildFormCommandLine(const CFormModel& form, const ControlValueReader& readValue, bool withCommand);

// What the Shift preview shows: the full command line, or for a form with an
// embedded {{batch cmd}} script the command and the argument list the script
// receives (not the cmd line that really runs).
std::string FormCommandPreview(const CFormModel& form, const ControlValueReader& readValue);

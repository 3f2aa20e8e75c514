#pragma once
// Windows only: loads a {{batch gui}} form with Tavrel's own loader, which
// runs its script through the command interpreter and parses the output.

#include <string>

class CFormModel;

bool RunBatchFormAsTavrel(CFormModel& model, const std::string& path);

#pragma once
// The parsed form as JSON, for authors' own tools and for diffing two
// versions of a form: the command, the description, the embedded script and
// every control with the window identifiers Tavrel gives it.

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "formui/ControlIds.h"

class CFormModel;

// `controlLines` may be shorter than the list of controls (then no "line").
nlohmann::ordered_json FormModelJson(const CFormModel& model, const FormControlIds& ids,
                                     const std::vector<int>& controlLines);

// Text for writing: bytes that are not UTF-8 become U+FFFD instead of
// failing the output.
std::string JsonText(const nlohmann::ordered_json& json);

#pragma once
// The one way a form definition file is read: all of its bytes, decoded to
// the program's text (see FormTextDecoding.h).

#include <string>

#include "formdef/FormTextDecoding.h"

// False when the file does not open; `text` is then empty.
bool ReadFormFile(const std::string& path, std::string& text, FormTextEncoding* found = nullptr);

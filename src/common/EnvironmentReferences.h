#pragma once
// Environment references (%NAME%) replaced as the system replaces them when
// a program starts a child: a defined name between two percent signs gives
// its value; an undefined (or empty) name keeps its first percent sign, and
// the second may open a reference of its own. Plain string logic, with the
// lookup injected, so that it works on lines of any length.

#include <functional>
#include <string>

// True with the value when `name` is defined.
using EnvironmentLookup = std::function<bool(const std::string& name, std::string& value)>;

std::string ExpandReferencesWith(const std::string& text, const EnvironmentLookup& lookup);

#pragma once
// The path that validation looks up for a value: trailing separators are
// dropped (so "D:\out\" is probed as "D:\out"), and a bare drive gets its
// root back ("C:" and "C:\" are probed as "C:\", not as the drive's current
// folder). Windowless.

#include <string>

std::string MakeProbePath(const std::string& value);

#pragma once
// Reference readers of a built command line, written from the documented
// rules, so that tests can check what a receiver would get back.

#include <string>
#include <vector>

// The C runtime's split of the arguments that follow the program name
// (the part of a command line a program's argv[1..] comes from).
std::vector<std::string> SplitProgramArguments(const std::string& arguments);

// cmd's split of a batch script's parameters (%1, %2, ...): blanks, commas,
// semicolons and equals signs separate them outside double quotes, and the
// quotes stay part of the parameter.
std::vector<std::string> SplitBatchParameters(const std::string& arguments);

// True when one of cmd's operators (& | < > ^) stands outside double quotes.
bool HasBatchOperatorOutsideQuotes(const std::string& arguments);

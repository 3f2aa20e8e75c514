#pragma once
// Runs the command of a {{choices-from}} line while a form is loaded,
// injected so that the parser stays free of processes and windows. The form
// window's loader installs one; a checker that must not run anything does
// not, and the choices then stay unknown.

#include <string>

class ChoicesCommandRunner {
public:
    virtual ~ChoicesCommandRunner() = default;
    // True with everything the command printed (decoded as a form file is)
    // when it ran to its end with exit code 0. False with `failure` saying
    // what went wrong, followed by whatever it printed.
    virtual bool Run(const std::string& command, std::string& output, std::string& failure) = 0;
};

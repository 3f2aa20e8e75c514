#pragma once
// Runs a {{choices-from}} command the way a {{batch gui}} script runs: as
// a hidden batch script, with the same progress window and Cancel, the same
// decoding of what it prints and the same end of everything it started.

#include <string>

#include "formdef/ChoicesCommand.h"

class BatchChoicesRunner : public ChoicesCommandRunner {
public:
    // `formPath`: the form being loaded, named in the progress window.
    explicit BatchChoicesRunner(std::string formPath) : m_formPath(std::move(formPath)) {}
    bool Run(const std::string& command, std::string& output, std::string& failure) override;

private:
    std::string m_formPath;
};

#pragma once
// The program's way of showing parse errors: the report in the console
// window in its text mode, the quit request through the thread's message
// queue, and a message box when a file cannot be opened.

#include <string>

#include "formdef/ParseErrorPresenter.h"

class ConsoleErrorPresenter : public ParseErrorPresenter {
public:
    void ShowReport(const std::string& title, const std::string& text) override;
    void RequestQuit() override;
    void ShowOpenFailure(const std::string& message) override;
};

// Installs the program's presenter (one for the whole process). The
// application calls it once at start-up, before any form is loaded.
void InstallConsoleErrorPresenter();

#pragma once
// Where a failed child start is shown to the user. By default a message box
// (OK button, stop icon) captioned with the application's name; tests and
// batch tools replace it to record the text instead of blocking on a box.
// The runner itself shows nothing: its callers start it through
// StartReportingFailure.

#include <functional>
#include <string>

using StartErrorPresenter = std::function<void(const std::string& text)>;

// An empty presenter restores the message box.
void SetStartErrorPresenter(StartErrorPresenter presenter);

void PresentStartError(const std::string& text);

class ProcessRunner;

// Starts the runner's command line; when the child could not be created,
// presents the runner's reason before returning false. (A missing output
// pipe is only a diagnostic line, as the runner wrote it.)
bool StartReportingFailure(ProcessRunner& runner, const std::string& commandLine);

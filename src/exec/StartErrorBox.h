#pragma once
// Where a failed child start is shown to the user. By default a message box
// (OK button, stop icon) captioned with the application's name; tests and
// batch tools replace it to record the text instead of blocking on a box.

#include <functional>
#include <string>

using StartErrorPresenter = std::function<void(const std::string& text)>;

// An empty presenter restores the message box.
void SetStartErrorPresenter(StartErrorPresenter presenter);

void PresentStartError(const std::string& text);

#include "exec/StartErrorBox.h"

#include <windows.h>

#include "framework/WinApp.h"

namespace {
StartErrorPresenter& Presenter()
{
    static StartErrorPresenter presenter;
    return presenter;
}
}  // namespace

void SetStartErrorPresenter(StartErrorPresenter presenter) { Presenter() = std::move(presenter); }

void PresentStartError(const std::string& text)
{
    if (Presenter()) {
        Presenter()(text);
        return;
    }
    // Owned by the active window so that the box is modal to the console.
    MessageBoxA(GetActiveWindow(), text.c_str(), AfxGetAppName().c_str(), MB_OK | MB_ICONERROR);
}

#include "exec/StartErrorBox.h"

#include <windows.h>

#include <vector>

namespace {
StartErrorPresenter& Presenter()
{
    static StartErrorPresenter presenter;
    return presenter;
}

std::string ModulePath()
{
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return std::string();
        if (length < buffer.size())
            return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}
}  // namespace

void SetStartErrorPresenter(StartErrorPresenter presenter) { Presenter() = std::move(presenter); }

std::string ApplicationName()
{
    std::string name = ModulePath();
    size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    return name;
}

void PresentStartError(const std::string& text)
{
    if (Presenter()) {
        Presenter()(text);
        return;
    }
    // Owned by the active window so that the box is modal to the console.
    MessageBoxA(GetActiveWindow(), text.c_str(), ApplicationName().c_str(), MB_OK | MB_ICONERROR);
}

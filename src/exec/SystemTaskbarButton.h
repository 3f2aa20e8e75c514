#pragma once
// The console's taskbar signal on the system's own taskbar.

#include <windows.h>

#include <memory>

#include "exec/RunEndSignal.h"

// For the console window `console`: progress through the taskbar's
// interface where the system has one (Windows 7 and later), flashing
// everywhere.
std::unique_ptr<RunEndSignal> MakeTaskbarSignal(HWND console);

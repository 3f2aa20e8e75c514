#include "formui/ShiftKey.h"

#include <windows.h>

namespace {

bool KeyboardShiftState() { return (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0; }

ShiftKeyProbe g_probe = nullptr;

}  // namespace

bool IsShiftKeyDown() { return g_probe != nullptr ? g_probe() : KeyboardShiftState(); }

void SetShiftKeyProbe(ShiftKeyProbe probe) { g_probe = probe; }

#pragma once
// Whether the Shift key is down at this moment (Run shows a preview of the
// command instead of running it then). Tests replace the probe so that they
// can "hold" Shift without a keyboard.

using ShiftKeyProbe = bool (*)();

bool IsShiftKeyDown();
// Null restores the real keyboard.
void SetShiftKeyProbe(ShiftKeyProbe probe);

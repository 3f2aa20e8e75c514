#pragma once
// A form's run history and presets: the list operations and the texts the
// history window shows. Windowless; the records themselves are part of the
// form's store (RememberedValues.h).

#include <string>
#include <vector>

#include "formui/RememberedValues.h"

constexpr size_t kMaxRunHistory = 50;

// Puts `record` first and lets the oldest go beyond kMaxRunHistory.
void AddRunRecord(std::vector<RunRecord>& history, RunRecord record);

// Preset names are compared without regard to the case of ASCII letters, so
// "Nightly" and "nightly" are one preset.
ValuePreset* FindPreset(std::vector<ValuePreset>& presets, const std::string& name);
// Adds the preset in name order, or replaces the values of the one so named.
void SetPreset(std::vector<ValuePreset>& presets, const std::string& name, const std::vector<RememberedValue>& values);
// False when no preset has the name.
bool RemovePreset(std::vector<ValuePreset>& presets, const std::string& name);
// The name without leading and trailing blanks.
std::string TrimPresetName(const std::string& name);

// The history list's texts: "0.4 s", "12 s", "3 min 05 s", "2 h 07 min";
// the exit code, "Terminated" or "Cancelled".
std::string FormatRunDuration(long long milliseconds);
std::string FormatRunEnding(const RunRecord& record);

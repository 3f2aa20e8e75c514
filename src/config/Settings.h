#pragma once
// The on/off settings kept in "tavrel.ini" beside the executable.
// Nothing is cached: every call opens the file, so a change saved by the
// configuration dialog shows the next time a value is needed.

#include <string>

struct SettingKey {
    const char* section;
    const char* name;
    int defaultValue;
};

extern const SettingKey kGrowLeftSetting;            // [Console] GrowLeft, on
extern const SettingKey kGrowRightSetting;           // [Console] GrowRight, on
extern const SettingKey kHideFlagsSetting;           // [UI] HideFlags, off
extern const SettingKey kHideRunWithButtonsSetting;  // [UI] HideRunWithButtons, on
extern const SettingKey kRememberValuesSetting;      // [UI] RememberValues, on

// Full path of "tavrel.ini" in the running executable's folder.
std::string GetSettingsPath();
// The same rule applied to a given module path (everything up to and
// including the last backslash, then the file name).
std::string SettingsPathBeside(const std::string& modulePath);

int ReadGrowLeft();
int ReadGrowRight();
int ReadHideFlags();
int ReadHideRunWithButtons();
int ReadRememberValues();

// False when the file could not be written: the old values stay in effect.
bool WriteGrowLeft(bool on);
bool WriteGrowRight(bool on);
bool WriteHideFlags(bool on);
bool WriteHideRunWithButtons(bool on);
bool WriteRememberValues(bool on);

// The operations behind the named accessors, on a settings file of the
// caller's choice. Any non-zero value means on.
int ReadSetting(const std::string& path, const SettingKey& key);
// Writes "1" or "0"; false when the file could not be written.
bool WriteSetting(const std::string& path, const SettingKey& key, bool on);
